#include "menu_styles.h"

#include <algorithm>

#include "menu_draw.h"

namespace menus {
namespace {

struct Registry {
    std::vector<CStyledMenuStyle*> styles;
    CStyledMenuStyle* active = nullptr;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

void RegisterStyle(CStyledMenuStyle* style) {
    auto& styles = TheRegistry().styles;
    if (style == nullptr || std::find(styles.begin(), styles.end(), style) != styles.end())
        return;
    if (styles.empty())
        styles.reserve(10);
    styles.push_back(style);
}

void RegisterStyles() {
    if (!TheRegistry().styles.empty())
        return;
    struct Entry {
        int id;
        bool flat;
        bool frame;
        MeasureRoutine measure;
        DrawRoutine draw;
    };
    const Entry table[] = {
        {6, false, true, MeasureGradientItem, DrawGradientItem},
        {7, false, false, MeasureGradientItem, DrawGradientItem},
        {0, false, true, MeasureClassicItem, DrawClassicItem},
        {1, false, false, MeasureClassicItem, DrawClassicItem},
        {2, true, true, MeasureFlatItem, DrawFlatItem},
        {3, true, false, MeasureFlatItem, DrawFlatItem},
        {8, true, true, MeasureFlatItem, DrawThemedItem},
        {9, true, false, MeasureFlatItem, DrawThemedItem},
        {10, true, true, MeasureFlatItem, DrawThemedItem},
        {11, true, false, MeasureFlatItem, DrawThemedItem},
        {4, false, true, MeasureClassicItem, DrawSpecialItem},
        {5, false, false, MeasureClassicItem, DrawSpecialItem},
    };
    for (const Entry& entry : table) {
        const int flags = entry.frame ? 1 : 0;
        CStyledMenuStyle* style =
            entry.flat ? new CStyledMenuFlatStyle(entry.id, flags, entry.measure, entry.draw, DrawTitleItem)
                       : new CStyledMenuStyle(entry.id, flags, entry.measure, entry.draw, DrawTitleItem);
        RegisterStyle(style);
    }
    TheRegistry().active = FindStyle(2);
}

void DeleteStyles() {
    Registry& registry = TheRegistry();
    for (CStyledMenuStyle* style : registry.styles)
        delete style;
    registry.styles.clear();
    registry.styles.shrink_to_fit();
    registry.active = nullptr;
}

const std::vector<CStyledMenuStyle*>& Styles() {
    return TheRegistry().styles;
}

CStyledMenuStyle* FindStyle(int id) {
    for (CStyledMenuStyle* style : TheRegistry().styles)
        if (style->id == id)
            return style;
    return nullptr;
}

CStyledMenuStyle* ActiveStyle() {
    return TheRegistry().active;
}

bool SetActiveStyle(int id) {
    CStyledMenuStyle* style = FindStyle(id);
    if (style == nullptr)
        return false;
    TheRegistry().active = style;
    return true;
}

}  // namespace menus
