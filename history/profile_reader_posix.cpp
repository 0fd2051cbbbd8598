#include "portable_profile.h"
#include "profile_reader.h"

namespace history {

int ReadProfileInt(const char* section, const char* key, int defaultValue, const std::string& path) {
    return PortableProfileInt(section, key, defaultValue, path);
}

std::size_t ReadProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                              std::size_t size, const std::string& path) {
    return PortableProfileString(section, key, defaultValue, buffer, size, path);
}

}  // namespace history
