// One open registry key, closed when the holder goes away.
#pragma once

#include <windows.h>

#include <string>

namespace winapp {

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { CloseKey(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens an existing key for reading; a key open before is closed first.
    bool OpenKey(HKEY root, const std::string& path);
    // The value's data as text; false (with an empty text) when the value cannot be read.
    bool ReadStringValue(const std::string& name, std::string& text) const;
    void CloseKey();

    bool isOpen() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

}  // namespace winapp
