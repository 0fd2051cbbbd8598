#pragma once

#include <windows.h>

#include <string>

namespace winapp {

// The system's text for an error code, without the trailing line break.
std::string ErrorText(DWORD error);
inline std::string LastErrorText() {
    return ErrorText(GetLastError());
}

}  // namespace winapp
