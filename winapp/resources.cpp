#include "resources.h"

#include <cstdint>
#include <unordered_map>

namespace winapp {
namespace {

LANGID g_language = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

const void* LoadData(HRSRC found, DWORD* size = nullptr) {
    if (found == nullptr)
        return nullptr;
    HGLOBAL loaded = LoadResource(ResourceInstance(), found);
    if (loaded == nullptr)
        return nullptr;
    if (size != nullptr)
        *size = SizeofResource(ResourceInstance(), found);
    return LockResource(loaded);
}

// One string of the string table, read from the resources.
std::string ReadText(int id) {
    // Strings are kept in blocks of 16 counted UTF-16 strings; block n holds IDs 16(n-1)..16(n-1)+15.
    DWORD size = 0;
    const auto* block = static_cast<const WCHAR*>(LoadData(FindResourceInLanguage(RT_STRING, id / 16 + 1), &size));
    if (block == nullptr)
        return std::string();
    const WCHAR* end = block + size / sizeof(WCHAR);
    const WCHAR* p = block;
    for (int skip = id % 16; skip > 0 && p < end; --skip)
        p += 1 + *p;
    if (p >= end || *p == 0 || p + 1 + *p > end)
        return std::string();
    const int length = *p;
    const int bytes = WideCharToMultiByte(CP_ACP, 0, p + 1, length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, p + 1, length, text.data(), bytes, nullptr, nullptr);
    return text;
}

}  // namespace

HINSTANCE ResourceInstance() {
    return GetModuleHandleA(nullptr);
}

void SetResourceLanguage(LANGID language) {
    g_language = language;
}
LANGID ResourceLanguage() {
    return g_language;
}

HRSRC FindResourceInLanguage(LPCSTR type, int id) {
    HRSRC found = FindResourceExA(ResourceInstance(), type, MAKEINTRESOURCEA(id), g_language);
    if (found == nullptr)
        found = FindResourceA(ResourceInstance(), MAKEINTRESOURCEA(id), type);
    return found;
}

// Dates reload their names for every copy, so each text is read from the resources once per
// language and kept.
std::string LoadText(int id) {
    if (id < 0 || id > 0xFFFF)
        return std::string();
    static std::unordered_map<std::uint32_t, std::string> cache;
    const std::uint32_t key = (static_cast<std::uint32_t>(g_language) << 16) | static_cast<std::uint32_t>(id);
    auto cached = cache.find(key);
    if (cached == cache.end())
        cached = cache.emplace(key, ReadText(id)).first;
    return cached->second;
}

std::string LoadText(int id, const std::string& token, const std::string& value) {
    std::string text = LoadText(id);
    const std::size_t at = text.find(token);
    if (at != std::string::npos)
        text.replace(at, token.size(), value);
    return text;
}

const DLGTEMPLATE* LoadDialogTemplate(int id) {
    return static_cast<const DLGTEMPLATE*>(LoadData(FindResourceInLanguage(RT_DIALOG, id)));
}

Menu LoadMenuResource(int id) {
    const void* data = LoadData(FindResourceInLanguage(RT_MENU, id));
    return Menu(data != nullptr ? LoadMenuIndirectA(data) : nullptr);
}

HICON LoadIconResource(int id) {
    return LoadIconA(ResourceInstance(), MAKEINTRESOURCEA(id));
}

}  // namespace winapp
