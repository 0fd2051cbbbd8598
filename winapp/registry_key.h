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

    // Opens the key for reading and writing, made where it is missing; the system's error, or 0.
    LONG CreateKey(HKEY root, const std::string& path);
    // A DWORD value; false when there is none of that type.
    bool ReadDwordValue(const std::string& name, DWORD& value) const;
    // Each the system's error, or 0.
    LONG WriteStringValue(const std::string& name, const std::string& text) const;
    LONG WriteDwordValue(const std::string& name, DWORD value) const;

    bool isOpen() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

}  // namespace winapp
