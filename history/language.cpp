#include "language.h"

namespace history {
namespace {
int g_languageIndex = 0;
}

int LanguageIndex() {
    return g_languageIndex;
}
void SetLanguageIndex(int index) {
    g_languageIndex = index;
}

DateStyle CurrentDateStyle() {
    return g_languageIndex >= 1 ? DateStyle::Slashed : DateStyle::Dotted;
}

}  // namespace history
