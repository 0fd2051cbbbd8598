#include "registry_key.h"

namespace winapp {

bool RegistryKey::OpenKey(HKEY root, const std::string& path) {
    CloseKey();
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    key_ = opened;
    return true;
}

bool RegistryKey::ReadStringValue(const std::string& name, std::string& text) const {
    text.clear();
    if (key_ == nullptr)
        return false;
    DWORD size = 0;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::string data(size, '\0');
    if (size != 0 && RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                                      &size) != ERROR_SUCCESS) {
        return false;
    }
    data.resize(size);
    // Stored strings end in their terminator (or several); the text stops at the first one.
    const std::size_t end = data.find('\0');
    if (end != std::string::npos)
        data.resize(end);
    text = std::move(data);
    return true;
}

LONG RegistryKey::CreateKey(HKEY root, const std::string& path) {
    CloseKey();
    HKEY opened = nullptr;
    const LONG error = RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                       nullptr, &opened, nullptr);
    if (error != ERROR_SUCCESS)
        return error;
    key_ = opened;
    return ERROR_SUCCESS;
}

bool RegistryKey::ReadDwordValue(const std::string& name, DWORD& value) const {
    DWORD type = 0, data = 0, size = sizeof data;
    if (key_ == nullptr ||
        RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data) {
        return false;
    }
    value = data;
    return true;
}

LONG RegistryKey::WriteStringValue(const std::string& name, const std::string& text) const {
    if (key_ == nullptr)
        return ERROR_INVALID_HANDLE;
    return RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

LONG RegistryKey::WriteDwordValue(const std::string& name, DWORD value) const {
    if (key_ == nullptr)
        return ERROR_INVALID_HANDLE;
    return RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void RegistryKey::CloseKey() {
    if (key_ == nullptr)
        return;
    RegCloseKey(key_);
    key_ = nullptr;
}

}  // namespace winapp
