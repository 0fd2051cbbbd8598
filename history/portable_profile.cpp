#include "portable_profile.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace history {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

// A value in matching single or double quotes loses them.
std::string Unquote(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

bool ReadWholeFile(const std::string& path, std::string& content) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    char block[4096];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        content.append(block, got);
    std::fclose(file);
    return true;
}

// Finds the value of `key` in the first section named `section`. Lines end with CR LF, LF or CR;
// names are compared without regard to case and blanks around them; a line without '=' is a key
// without a value, which counts as missing; ';' has no meaning of its own.
bool FindValue(const char* section, const char* key, const std::string& path, std::string& value) {
    std::string content;
    if (section == nullptr || key == nullptr || !ReadWholeFile(path, content))
        return false;
    const std::string wantedSection = Trim(section);
    const std::string wantedKey = Trim(key);
    std::size_t pos = content.compare(0, 3, "\xef\xbb\xbf") == 0 ? 3 : 0;
    bool inSection = false;
    bool sectionSeen = false;
    while (pos < content.size()) {
        std::size_t end = content.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = content.size();
        const std::string line = Trim(content.substr(pos, end - pos));
        pos = end + 1;
        if (end < content.size() && content[end] == '\r' && pos < content.size() && content[pos] == '\n')
            ++pos;

        if (!line.empty() && line[0] == '[') {
            if (inSection)
                return false;  // only the first section of the name counts
            const std::size_t close = line.find(']');
            inSection =
                !sectionSeen && close != std::string::npos && SameName(Trim(line.substr(1, close - 1)), wantedSection);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection)
            continue;
        const std::size_t equals = line.find('=');
        if (!SameName(Trim(line.substr(0, equals)), wantedKey))
            continue;
        if (equals == std::string::npos)
            return false;
        value = Trim(line.substr(equals + 1));
        value = value.substr(0, value.find('\0'));  // a value is a C string
        return true;
    }
    return false;
}

// The default as the profile functions take it: trailing blanks go, and matching quotes.
std::string PrepareDefault(const char* defaultValue) {
    std::string text = defaultValue != nullptr ? defaultValue : "";
    while (!text.empty() && IsBlank(text.back()))
        text.pop_back();
    return Unquote(text);
}

}  // namespace

std::size_t PortableProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                  std::size_t size, const std::string& path) {
    if (buffer == nullptr || size == 0)
        return 0;
    std::string value;
    value = FindValue(section, key, path, value) ? Unquote(value) : PrepareDefault(defaultValue);
    const std::size_t placed = value.size() < size ? value.size() : size - 1;
    std::memcpy(buffer, value.data(), placed);
    buffer[placed] = '\0';
    return placed;
}

int PortableProfileInt(const char* section, const char* key, int defaultValue, const std::string& path) {
    std::string value;
    if (!FindValue(section, key, path, value))
        return defaultValue;
    value = Unquote(value);
    if (value.empty())
        return defaultValue;
    // Sign, then "0x" and hexadecimal digits, or decimal digits, as far as they go; wraps at 32 bits.
    std::size_t i = 0;
    const bool negative = value[0] == '-';
    if (value[0] == '-' || value[0] == '+')
        ++i;
    std::uint32_t number = 0;
    if (value.compare(i, 2, "0x") == 0) {
        for (i += 2; i < value.size(); ++i) {
            const char c = Lower(value[i]);
            const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            if (digit < 0)
                break;
            number = number * 16 + static_cast<std::uint32_t>(digit);
        }
    } else {
        for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
            number = number * 10 + static_cast<std::uint32_t>(value[i] - '0');
        }
    }
    if (negative)
        number = 0u - number;
    return static_cast<int>(number);
}

}  // namespace history
