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

void RegistryKey::CloseKey() {
    if (key_ == nullptr)
        return;
    RegCloseKey(key_);
    key_ = nullptr;
}

}  // namespace winapp
