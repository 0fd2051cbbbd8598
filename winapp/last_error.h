#pragma once

#include <windows.h>

#include <string>

namespace winapp {

// The system's text for an error code, without the trailing line break.
std::string ErrorText(DWORD error);
inline std::string LastErrorText() {
    return ErrorText(GetLastError());
}
// A sentence that tells a failure, followed by the system's text for its cause; the sentence alone
// where no cause is known (0).
inline std::string WithErrorText(const std::string& sentence, DWORD error) {
    return error == 0 ? sentence : sentence + "\n\n" + ErrorText(error);
}

}  // namespace winapp
