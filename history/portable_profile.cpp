#include "portable_profile.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace history {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

bool SameText(const std::string& a, const char* b) {
    const std::size_t length = std::strlen(b);
    if (a.size() != length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// Finds the value of `key` in `section`; false where the file, the section or the key is missing.
bool FindValue(const char* section, const char* key, const std::string& path, std::string& value) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::string line;
    bool inSection = false;
    bool found = false;
    int c = 0;
    do {
        c = std::fgetc(file);
        if (c != EOF && c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        const std::string text = Trim(line);
        line.clear();
        if (!text.empty() && text[0] == '[') {
            const std::size_t close = text.find(']');
            inSection = SameText(Trim(text.substr(1, close == std::string::npos ? std::string::npos : close - 1)),
                                 section);
        } else if (inSection && !text.empty() && text[0] != ';') {
            const std::size_t equals = text.find('=');
            const std::string name = Trim(text.substr(0, equals));
            if (SameText(name, key)) {
                value = equals == std::string::npos ? std::string() : Trim(text.substr(equals + 1));
                found = true;
            }
        }
    } while (c != EOF && !found);
    std::fclose(file);
    return found;
}

}  // namespace

std::size_t PortableProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                  std::size_t size, const std::string& path) {
    if (buffer == nullptr || size == 0) return 0;
    std::string value;
    if (!FindValue(section, key, path, value)) value = defaultValue != nullptr ? defaultValue : "";
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    const std::size_t placed = value.size() < size ? value.size() : size - 1;
    std::memcpy(buffer, value.data(), placed);
    buffer[placed] = '\0';
    return placed;
}

int PortableProfileInt(const char* section, const char* key, int defaultValue, const std::string& path) {
    std::string value;
    if (!FindValue(section, key, path, value) || value.empty()) return defaultValue;
    long long number = 0;
    std::size_t i = 0;
    const bool negative = value[0] == '-';
    if (value[0] == '-' || value[0] == '+') ++i;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        if (number < 0x100000000LL) number = number * 10 + (value[i] - '0');
    }
    return static_cast<int>(static_cast<unsigned>(negative ? -number : number));
}

}  // namespace history
