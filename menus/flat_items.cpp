// The item routine of the flat styles (2, 3) and of the themed ones (8 to 11), which lay their
// items out alike: a gutter and a text area in a popup, a selection box on the bar.
#include "item_drawing.h"
#include "menu_draw.h"
#include "menu_styles.h"
#include "menu_system.h"

namespace menus {
namespace {

// What sets the themed look apart: a gradient gutter from its colour pair, a gradient selection
// and, on the bar, the menu's pattern brush.
struct Look {
    bool themed = false;
    Colour first = 0;  // the themed pair of GetThemedColors
    Colour second = 0;
};

// One item being drawn, with its colours after the bar's adjustments.
struct FlatItem {
    CStyledMenu* menu;
    DRAWITEMSTRUCT* draw;
    const CStyledMenuItemData* record;
    HDC dc;
    RECT item;
    UINT state;
    bool vertical;
    SystemColours system;
    Display display;
    Colour menuColor;
    FlatItemColours colours;
    Colour frame;  // the selection frame's pen
    RECT gutter{};
    RECT textArea{};
    RECT selectionBox{};
    bool selected = false;
    bool inactive = false;
    int dpi = 96;  // the 96-DPI sizes below are scaled to it
    int Px(int pixels) const { return ScaledPixels(pixels, dpi); }
};

FlatItem FlatItemOf(CStyledMenu* menu, DRAWITEMSTRUCT* draw, const CStyledMenuItemData* record, HDC dc) {
    FlatItem f{};
    f.menu = menu;
    f.draw = draw;
    f.record = record;
    f.dc = dc;
    f.item = draw->rcItem;
    f.state = draw->itemState;
    f.vertical = (f.state & kVerticalBarState) != 0;
    f.system = SystemColoursNow();
    f.display = DisplayOf(dc);
    f.menuColor = GetMenuBarColor(menu->handle());
    f.colours = FlatColoursOf(f.menuColor, f.system, f.display);
    f.frame = f.colours.selectionFrame;
    f.dpi = DrawDpiOf(draw->hDC);
    return f;
}

void FillSelection(const FlatItem& f, const Look& look) {
    if (look.themed)
        FillGradient(f.dc, f.selectionBox, Lighten(100, f.colours.selectionFill), f.colours.selectionFill, false, true);
    else
        Fill(f.dc, f.selectionBox, f.colours.selectionFill);
    Outline(f.dc, f.selectionBox, f.frame);
}

// A grayed item is not highlighted when grayed items are not selectable; it keeps the selection
// frame while the keyboard moves over it.
void DropGrayedSelection(FlatItem& f) {
    if (kSelectDisabledItems || !(f.state & ODS_GRAYED) || !f.selected)
        return;
    f.selected = false;
    if (GetMessagePos() == LastMenuMessagePos()) {
        Fill(f.dc, f.selectionBox, f.colours.itemBack);
        Outline(f.dc, f.selectionBox, f.frame);
    }
}

// A separator is a grey line from the text area on; a title has a routine of its own.
void DrawSeparator(const FlatItem& f, bool onBar) {
    if (f.record->IsTitle()) {
        if (CStyledMenuStyle* style = ActiveStyle())
            style->drawTitle(f.menu, f.draw, onBar);
        return;
    }
    const int middle = (f.item.top + f.item.bottom) / 2;
    Line(f.dc, f.textArea.left, middle, f.item.right, middle, f.system.grayText);
}

void DrawLabel(const FlatItem& f, bool onBar) {
    Colour colour = f.system.menuText;
    if ((f.state & ODS_GRAYED) || (onBar && f.inactive))
        colour = f.system.grayText;
    else if (f.display.highContrast && !onBar && !f.selected)
        colour = f.system.highlightText;
    const winapp::Font font = MenuFont((f.state & ODS_DEFAULT) != 0, onBar && f.vertical ? -900 : 0);
    DrawItemText(f.dc, f.record->GetString(TableOf(f.menu)), f.textArea, onBar, f.vertical, f.state, colour,
                 font.get());
}

// ---- bar items

// A selected bar item is drawn hot while the bar has no open popup, and so is one the frame's
// tracking drew hot; the bar's items lie on the menu colour, and only a hot one gets the selection
// colour.
void AdjustForBar(FlatItem& f) {
    f.state = BarItemState(f.menu, *f.record, f.state);
    f.colours.itemBack = f.menuColor;
    if (!(f.state & ODS_HOTLIGHT))
        f.colours.selectionFill = f.colours.gutterBack;
}

// The item in the bar's colour (the themed look's pattern brush where the menu has one); the
// selection box is the item less 4 pixels on the right (at the bottom on a vertical bar).
void LayOutBarItem(FlatItem& f, const Look& look) {
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    if (look.themed && GetMenuInfo(f.menu->handle(), &info) && info.hbrBack != nullptr)
        FillRect(f.dc, &f.item, info.hbrBack);
    else
        Fill(f.dc, f.item, f.colours.itemBack);
    f.selectionBox = f.item;
    if (f.vertical)
        f.selectionBox.bottom -= f.Px(4);
    else
        f.selectionBox.right -= f.Px(4);
    f.textArea = f.selectionBox;
}

// The shadow of the open popup beside its bar item, in the 4 columns right of the selection box
// (the 4 rows below it on a vertical bar), computed from the menu colour.
void DrawOpenPopupShadow(const FlatItem& f) {
    const RECT& item = f.item;
    if (f.display.colourCount <= 256) {
        for (int offset : {3, 4}) {
            if (f.vertical)
                Line(f.dc, item.left + 4, item.bottom - offset, item.right, item.bottom - offset, f.system.btnShadow);
            else
                Line(f.dc, item.right - offset, item.top + 4, item.right - offset, item.bottom, f.system.btnShadow);
        }
        return;
    }
    const int length = f.vertical ? item.right - item.left : item.bottom - item.top;
    for (int k = 1; k <= 4; ++k) {
        for (int along = 0; along < length; ++along) {
            const int darkness = BarItemShadowDarkness(k, along);
            const Colour c = darkness < 0 ? f.menuColor : Darken(darkness, f.menuColor);
            if (f.vertical)
                SetPixel(f.dc, item.left + along, item.bottom - k, c);
            else
                SetPixel(f.dc, item.right - k, item.top + along, c);
        }
    }
}

// Hot and inactive bar items count as selected; a selected one notes where it is for the popup's
// frame, and one whose popup is open gets a darker frame and the popup's shadow.
void MarkBarSelection(FlatItem& f) {
    const bool hot = (f.state & ODS_HOTLIGHT) != 0;
    f.selected = f.selected || hot || f.inactive;
    if (!f.selected)
        return;
    if (!f.inactive)
        NoteHotBarItem(f.menu, f.draw);
    if (!hot) {
        f.frame = f.display.highContrast ? f.system.btnText : Darken(128, GetMenuBarColor(nullptr));
        DrawOpenPopupShadow(f);
    }
}

void DrawFlatBarItem(FlatItem& f, const Look& look) {
    AdjustForBar(f);
    LayOutBarItem(f, look);
    f.selected = (f.state & ODS_SELECTED) != 0;
    f.inactive = (f.state & ODS_INACTIVE) != 0;
    MarkBarSelection(f);
    DropGrayedSelection(f);
    if (f.selected && !f.inactive)
        FillSelection(f, look);
    if (f.record->IsSeparator())
        DrawSeparator(f, true);
    else
        DrawLabel(f, true);
}

// ---- popup items

// The gutter (a gradient of the themed pair in the themed look) and the text area, which is
// narrowed by 4 on the left and 15 on the right for the text.
void LayOutPopupItem(FlatItem& f, const Look& look) {
    f.gutter = GutterOf(f.menu, f.item, f.dpi);
    f.textArea = f.item;
    f.textArea.left = f.gutter.right;
    f.selectionBox = f.item;
    if (look.themed)
        FillGradient(f.dc, f.gutter, look.second, look.first, true, true);
    else
        Fill(f.dc, f.gutter, f.colours.gutterBack);
    Fill(f.dc, f.textArea, f.colours.itemBack);
    f.textArea.left += f.Px(4);
    f.textArea.right -= f.Px(15);
}

// The item's icon in the gutter, vertically centred: in a check box when checked, raised with a
// shadow when selected, faded when not, in its disabled variant when disabled.
void DrawIcon(const FlatItem& f) {
    const CStyledMenuItemData& record = *f.record;
    HIMAGELIST list = record.iconStore->imageList();
    const SIZE size = record.iconStore->IconSize();
    const RECT& item = f.item;
    const int iconWidth = f.Px(f.menu->iconWidth());
    const int x = size.cx >= iconWidth ? item.left + f.Px(3) : item.left + (iconWidth - size.cx) / 2 + f.Px(3);
    const int y = item.top + (item.bottom - item.top - size.cy) / 2;
    const bool checked = (f.state & ODS_CHECKED) != 0;
    if (checked) {
        const RECT box = CheckBoxOf(f.gutter, f.dpi);
        Fill(f.dc, box, f.colours.selectionFill);
        Outline(f.dc, box, f.frame);
    }
    if (f.state & ODS_DISABLED) {
        if (kUseIconVariants)
            DrawIconImage(f.dc, list, record.iconIndex + 2, x, y);
        else
            DrawIconMono(f.dc, list, record.iconIndex, x, y, size, Darken(70, f.colours.gutterBack));
    } else if (f.selected && !checked) {
        DrawIconMono(f.dc, list, record.iconIndex, x + 1, y + 1, size, BluishDarken(f.colours.selectionFill));
        DrawIconImage(f.dc, list, record.iconIndex, x - 1, y - 1);
    } else if (f.selected) {
        DrawIconImage(f.dc, list, record.iconIndex, x, y);
    } else {
        DrawIconImage(f.dc, list, kUseIconVariants ? record.iconIndex + 1 : record.iconIndex, x, y);
    }
}

void DrawFlatPopupItem(FlatItem& f, const Look& look) {
    LayOutPopupItem(f, look);
    f.selected = (f.state & ODS_SELECTED) != 0;
    f.inactive = (f.state & ODS_INACTIVE) != 0;
    DropGrayedSelection(f);
    if (f.selected && !f.inactive)
        FillSelection(f, look);
    if (f.record->IsSeparator()) {
        DrawSeparator(f, false);
        return;
    }
    DrawLabel(f, false);
    if (f.record->iconStore != nullptr && f.record->iconIndex != -1) {
        DrawIcon(f);
        return;
    }
    const Colour glyph = (f.state & ODS_GRAYED) || f.inactive ? f.system.grayText : f.system.menuText;
    DrawItemMarks(f.dc, f.menu, f.draw, *f.record, f.state, f.gutter, {f.colours.selectionFill, f.frame, glyph}, f.dpi);
}

void DrawFlatLookItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar, Look look) {
    const CStyledMenuItemData* record = RecordOf(draw->itemData);
    if (record == nullptr)
        return;
    ItemCanvas canvas(draw->hDC, draw->rcItem, !onBar && !record->IsSeparator());
    if (look.themed)
        GetThemedColors(look.first, look.second, onBar);
    FlatItem item = FlatItemOf(menu, draw, record, canvas.dc());
    if (onBar)
        DrawFlatBarItem(item, look);
    else
        DrawFlatPopupItem(item, look);
}

}  // namespace

void DrawFlatItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar) {
    DrawFlatLookItem(menu, draw, onBar, Look{false});
}

void DrawThemedItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar) {
    DrawFlatLookItem(menu, draw, onBar, Look{true});
}

}  // namespace menus
