// The measure routines of the styles: how wide and high an item is in the flat, classic and
// gradient looks.
#include <algorithm>
#include <string>

#include "item_drawing.h"
#include "menu_draw.h"
#include "menu_system.h"

namespace menus {
namespace {

std::string TabsAsNnn(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\t' ? std::string("nnn") : std::string(1, c);
    return out;
}

enum class MeasureKind { Flat, Classic, Gradient };

Extent MeasureText(const CStyledMenu* menu, const CStyledMenuItemData& record, MeasureKind kind) {
    std::string text = record.GetString(TableOf(menu));
    if (kind != MeasureKind::Classic)
        text = TabsAsNnn(text);
    const winapp::WindowDc screen(nullptr);
    const winapp::Font font = MenuFont(IsDefaultItem(menu, record), 0);
    const winapp::Selection selected(screen.get(), font.get());
    const SIZE size = TextExtent(screen.get(), text);
    return {size.cx, size.cy};
}

Extent MeasureTitle(const CStyledMenu* menu, const CStyledMenuItemData& record) {
    SIZE text{};
    {
        const winapp::WindowDc screen(nullptr);
        const LOGFONTA logFont = TitleLogFont(0, MeasureDpiOf(menu));
        const winapp::Font font(CreateFontIndirectA(&logFont));
        const winapp::Selection selected(screen.get(), font.get());
        text = TextExtent(screen.get(), record.text);
    }
    Extent icon{0, 0};
    if (record.iconStore != nullptr && record.iconIndex != -1) {
        const SIZE size = record.iconStore->IconSize();
        icon = {size.cx, size.cy};
    }
    return TitleItemExtent((record.styleBits & kTitleVertical) != 0, record.styleBits, icon, {text.cx, text.cy},
                           GetSystemMetrics(SM_CXMENUCHECK), ThePlatform().underWine);
}

Extent MeasureCommand(const CStyledMenu* menu, const CStyledMenuItemData& record, bool onBar, MeasureKind kind) {
    const Extent text = MeasureText(menu, record, kind);
    const int barHeight = GetSystemMetrics(SM_CYMENU);
    const Extent icon{menu->iconWidth(), menu->iconHeight()};
    const bool ampersand = record.GetString(TableOf(menu)).find('&') != std::string::npos;
    const int dpi = MeasureDpiOf(menu);
    if (kind == MeasureKind::Flat) {
        return onBar ? FlatBarItemExtent(barHeight, icon, text, ampersand, dpi)
                     : FlatPopupItemExtent(barHeight, icon, text, dpi);
    }
    const int check = GetSystemMetrics(SM_CXMENUCHECK);
    const bool gradient = kind == MeasureKind::Gradient;
    return onBar ? ClassicBarItemExtent(barHeight, check, icon, text, ampersand, gradient, dpi)
                 : ClassicPopupItemExtent(barHeight, check, icon, text, gradient, dpi);
}

void MeasureWith(CStyledMenu* menu, MEASUREITEMSTRUCT* measure, bool onBar, MeasureKind kind) {
    CStyledMenuItemData* record = RecordOf(measure->itemData);
    if (record == nullptr)
        return;
    Extent size{3, 3};
    if (record->IsSeparator()) {
        if (record->IsTitle())
            size = MeasureTitle(menu, *record);
    } else if (IsSystemCommand(measure->itemID)) {
        // As wide as the wider of this and the next item with an identifier, one bar high.
        size = MeasureCommand(menu, *record, onBar, MeasureKind::Flat);
        const auto& items = menu->items();
        auto at = std::find(items.begin(), items.end(), record);
        if (at != items.end()) {
            for (++at; at != items.end(); ++at) {
                if ((*at)->command != 0 && !(*at)->IsSeparator()) {
                    size.cx = std::max(size.cx, MeasureCommand(menu, **at, onBar, MeasureKind::Flat).cx);
                    break;
                }
            }
        }
        size.cy = GetSystemMetrics(SM_CYMENU);
    } else {
        size = MeasureCommand(menu, *record, onBar, kind);
    }
    measure->itemWidth = static_cast<UINT>(std::max(size.cx, 0));
    measure->itemHeight = static_cast<UINT>(std::max(size.cy, 0));
}

}  // namespace

void MeasureFlatItem(CStyledMenu* menu, MEASUREITEMSTRUCT* measure, bool onBar) {
    MeasureWith(menu, measure, onBar, MeasureKind::Flat);
}

void MeasureClassicItem(CStyledMenu* menu, MEASUREITEMSTRUCT* measure, bool onBar) {
    MeasureWith(menu, measure, onBar, MeasureKind::Classic);
}

void MeasureGradientItem(CStyledMenu* menu, MEASUREITEMSTRUCT* measure, bool onBar) {
    MeasureWith(menu, measure, onBar, MeasureKind::Gradient);
}

}  // namespace menus
