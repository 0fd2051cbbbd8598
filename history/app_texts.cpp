#include "app_texts.h"

#include "language.h"

namespace history {
namespace {

struct AppText {
    int id;
    const char* german;
    const char* english;
};

constexpr AppText kTexts[] = {
#define APP_TEXT(id, german, english) {id, german, english},
#include "app_texts.def"
#undef APP_TEXT
};

AppTextLoader g_loader = nullptr;

}  // namespace

std::string BuiltInAppText(int id, bool german) {
    for (const AppText& text : kTexts) {
        if (text.id == id)
            return german ? text.german : text.english;
    }
    return std::string();
}

std::string LoadAppText(int id) {
    if (g_loader != nullptr)
        return g_loader(id);
    return BuiltInAppText(id, LanguageIndex() == 0);
}

void SetAppTextLoader(AppTextLoader loader) {
    g_loader = loader;
}

}  // namespace history
