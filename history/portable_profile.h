// A reader of initialisation files that gives the results of the Windows profile functions,
// for platforms that have none. Built on Windows too, where a test holds it to the real ones.
#pragma once

#include <cstddef>
#include <string>

namespace history {

int PortableProfileInt(const char* section, const char* key, int defaultValue, const std::string& path);

std::size_t PortableProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                  std::size_t size, const std::string& path);

}  // namespace history
