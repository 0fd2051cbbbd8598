// The item routines of the three-dimensional looks: classic (styles 0, 1), special (4, 5: the
// classic item with its text in a font of its own) and gradient (6, 7: a gradient selection).
#include <cstdlib>

#include "item_drawing.h"
#include "menu_draw.h"
#include "menu_styles.h"
#include "menu_system.h"

namespace menus {
namespace {

enum class Kind { Classic, Special, Gradient };

// One item being drawn.
struct ThreeDItem {
    CStyledMenu* menu;
    DRAWITEMSTRUCT* draw;
    const CStyledMenuItemData* record;
    HDC dc;
    RECT item;
    UINT state;
    SystemColours system;
    bool selected;
    bool inactive;
    bool hasIcon;
    RECT iconBox;  // the frame around an icon or check mark
};

// A plain separator is the background with an etched line along its top, 1 pixel in.
void DrawSeparator(const ThreeDItem& t, bool onBar) {
    if (t.record->IsTitle()) {
        if (CStyledMenuStyle* style = ActiveStyle())
            style->drawTitle(t.menu, t.draw, onBar);
        return;
    }
    RECT line = t.item;
    line.left += 1;
    line.top = (t.item.top + t.item.bottom) / 2 - 1;
    DrawEdge(t.dc, &line, EDGE_ETCHED, BF_TOP);
}

// A one-pixel 3-D box: `topLeft` along its top and left, `bottomRight` along its bottom and right.
void DrawBox(HDC dc, const RECT& r, Colour topLeft, Colour bottomRight) {
    Fill(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    Fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    Fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    Fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

// The light edge of a bar item's box: the 3-D highlight, or, on a bar as light as that (where the
// box would show only its dark half), a shade of the bar itself.
Colour LightEdgeOn(Colour bar, const SystemColours& system) {
    const Colour light = system.btnHighlight;
    const bool alike = std::abs(RedOf(light) - RedOf(bar)) <= 16 && std::abs(GreenOf(light) - GreenOf(bar)) <= 16 &&
                       std::abs(BlueOf(light) - BlueOf(bar)) <= 16;
    return alike ? Darken(48, bar) : light;
}

// The selection: in a popup right of an icon or check frame; a bar item raised when hot and
// sunken when its popup is open, the gradient look's selection a sunken gradient, the classic one
// a plain fill.
RECT DrawSelection(const ThreeDItem& t, bool onBar, Kind kind) {
    RECT selection = t.item;
    if (!onBar && (t.hasIcon || (t.state & ODS_CHECKED)))
        selection.left = t.iconBox.right + 1;
    if (t.selected && !t.inactive) {
        if (onBar && kind != Kind::Gradient) {
            const Colour light = LightEdgeOn(GetMenuBarColor(nullptr), t.system);
            if (t.state & ODS_SELECTED)
                DrawBox(t.dc, selection, t.system.btnShadow, light);
            else
                DrawBox(t.dc, selection, light, t.system.btnShadow);
        } else if (kind == Kind::Gradient) {
            FillGradient(t.dc, selection, t.system.highlight, Lighten(110, t.system.highlight), true, true);
            DrawEdge(t.dc, &selection, BDR_SUNKENOUTER, BF_RECT);
        } else {
            Fill(t.dc, selection, t.system.highlight);
        }
    }
    return selection;
}

winapp::Font LabelFont(UINT state, Kind kind) {
    if (kind != Kind::Special)
        return MenuFont((state & ODS_DEFAULT) != 0, 0);
    LOGFONTA logFont = MenuLogFont();
    logFont.lfItalic = TRUE;
    lstrcpyA(logFont.lfFaceName, "Arial");
    // Smoothed, the thin italic strokes come out in greys and the text looks disabled.
    logFont.lfQuality = NONANTIALIASED_QUALITY;
    if (state & ODS_DEFAULT)
        logFont.lfWeight = FW_BOLD;
    return winapp::Font(CreateFontIndirectA(&logFont));
}

// The text: popup text starts right of the gutter, bar text 6 pixels in; grayed text is
// embossed (the highlight one pixel right and down, the grey in place).
void DrawLabel(const ThreeDItem& t, bool onBar, Kind kind) {
    Colour colour = t.system.menuText;
    if (!onBar && t.selected && kind != Kind::Gradient)
        colour = t.system.highlightText;
    if (onBar && t.inactive)
        colour = t.system.grayText;
    RECT area = t.item;
    const int dpi = DrawDpiOf(t.draw->hDC);
    area.left += ScaledPixels(onBar ? 6 : t.menu->iconWidth() + 12, dpi);
    if (!onBar)
        area.right -= ScaledPixels(8, dpi);
    const std::string text = t.record->GetString(TableOf(t.menu));
    const winapp::Font label = LabelFont(t.state, kind);
    HFONT font = label.get();
    if (t.state & ODS_GRAYED) {
        RECT raised = area;
        OffsetRect(&raised, 1, 1);
        DrawItemText(t.dc, text, raised, onBar, false, t.state, t.system.btnHighlight, font);
        DrawItemText(t.dc, text, area, onBar, false, t.state, t.system.grayText, font);
    } else {
        DrawItemText(t.dc, text, area, onBar, false, t.state, colour, font);
    }
}

// The icon in its frame: sunken when checked, raised when selected.
void DrawIcon(const ThreeDItem& t) {
    HIMAGELIST list = t.record->iconStore->imageList();
    const SIZE size = t.record->iconStore->IconSize();
    const int x = t.iconBox.left + (t.iconBox.right - t.iconBox.left - size.cx) / 2;
    const int y = t.item.top + (t.item.bottom - t.item.top - size.cy) / 2;
    RECT box = t.iconBox;
    if (t.state & ODS_CHECKED)
        DrawEdge(t.dc, &box, BDR_SUNKENOUTER, BF_RECT);
    else if (t.selected && !(t.state & ODS_DISABLED))
        DrawEdge(t.dc, &box, BDR_RAISEDINNER, BF_RECT);
    const int index = (t.state & ODS_DISABLED) ? t.record->iconIndex + 2 : t.record->iconIndex;
    DrawIconImage(t.dc, list, index, x, y);
}

// A check mark or bullet in a sunken frame on the menu colour; window-menu glyphs. The frame goes
// on last: the marks' own check box lies on the same pixels and would flatten it.
void DrawMarks(const ThreeDItem& t) {
    const Colour glyph = (t.state & ODS_GRAYED) ? t.system.grayText : t.system.menuText;
    const int dpi = DrawDpiOf(t.draw->hDC);
    DrawItemMarks(t.dc, t.menu, t.draw, *t.record, t.state & ~static_cast<UINT>(ODS_SELECTED),
                  GutterOf(t.menu, t.item, dpi), {t.system.menu, t.system.btnShadow, glyph}, dpi);
    if (t.state & ODS_CHECKED) {
        RECT box = t.iconBox;
        DrawEdge(t.dc, &box, BDR_SUNKENOUTER, BF_RECT);
    }
}

void DrawThreeDItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar, Kind kind) {
    const CStyledMenuItemData* record = RecordOf(draw->itemData);
    if (record == nullptr)
        return;
    ItemCanvas canvas(draw->hDC, draw->rcItem, !onBar && !record->IsSeparator());
    const RECT& item = draw->rcItem;
    const UINT state = onBar ? BarItemState(menu, *record, draw->itemState) : draw->itemState;
    ThreeDItem t{menu,
                 draw,
                 record,
                 canvas.dc(),
                 item,
                 state,
                 SystemColoursNow(),
                 (state & (ODS_SELECTED | ODS_HOTLIGHT)) != 0,
                 (state & ODS_INACTIVE) != 0,
                 record->iconStore != nullptr && record->iconIndex != -1,
                 RECT{item.left + 1, item.top + 1,
                      item.left + ScaledPixels(menu->iconWidth() + 6, DrawDpiOf(draw->hDC)), item.bottom - 1}};
    Fill(t.dc, item, onBar ? GetMenuBarColor(nullptr) : t.system.menu);
    if (record->IsSeparator()) {
        DrawSeparator(t, onBar);
        return;
    }
    if (onBar && t.selected && !t.inactive)
        NoteHotBarItem(menu, draw);
    RECT selection = DrawSelection(t, onBar, kind);
    if (state & ODS_FOCUS)
        DrawFocusRect(t.dc, &selection);
    DrawLabel(t, onBar, kind);
    if (onBar)
        return;
    if (t.hasIcon)
        DrawIcon(t);
    else
        DrawMarks(t);
}

}  // namespace

void DrawClassicItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar) {
    DrawThreeDItem(menu, draw, onBar, Kind::Classic);
}

void DrawSpecialItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar) {
    DrawThreeDItem(menu, draw, onBar, Kind::Special);
}

void DrawGradientItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar) {
    DrawThreeDItem(menu, draw, onBar, Kind::Gradient);
}

}  // namespace menus
