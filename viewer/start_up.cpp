#include "start_up.h"

#include <cctype>
#include <climits>
#include <cstdlib>

namespace viewer {

int ParseLanguageIndex(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

unsigned LocaleOfLanguage(int index) {
    static const unsigned kLocales[] = {1031, 1033, 1036, 1034, 1043, 1045};
    if (index < 0 || index > 5)
        return 0;
    return kLocales[index];
}

unsigned ResourceLanguageOfLocale(unsigned locale) {
    const unsigned primaryLanguage = locale & 0x3FFu;
    return primaryLanguage == 0x07u ? 1031u : 1033u;
}

bool ProgramFolderOf(const std::string& programPath, std::string& folder) {
    const std::size_t last = programPath.find_last_of('\\');
    if (last == std::string::npos || last == 0)
        return false;
    folder = programPath.substr(0, last + 1);
    return true;
}

}  // namespace viewer
