// Reading one value of an initialisation file ("[Section]" lines, then "key=value" lines).
// On Windows these are the system's profile functions; elsewhere the portable reader, which
// follows the same rules (see portable_profile.h).
#pragma once

#include <cstddef>
#include <string>

namespace history {

// The key's value read as a decimal integer, or `defaultValue` where the file, section or key is missing.
int ReadProfileInt(const char* section, const char* key, int defaultValue, const std::string& path);

// Fills `buffer` with the key's text or the default, cut to size - 1 characters and terminated.
// Gives the number of characters placed.
std::size_t ReadProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                              std::size_t size, const std::string& path);

}  // namespace history
