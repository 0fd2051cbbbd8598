#include "start_up.h"

namespace viewer {

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
