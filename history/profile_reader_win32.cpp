#include <windows.h>

#include <climits>

#include "profile_reader.h"

namespace history {

int ReadProfileInt(const char* section, const char* key, int defaultValue, const std::string& path) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, path.c_str()));
}

std::size_t ReadProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                              std::size_t size, const std::string& path) {
    if (buffer == nullptr || size == 0)
        return 0;
    const DWORD bounded = size > UINT_MAX ? UINT_MAX : static_cast<DWORD>(size);
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, bounded, path.c_str());
}

}  // namespace history
