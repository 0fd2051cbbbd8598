// What the item routines of the drawing styles share: the menu and title fonts, the item's
// buffered canvas, its text, its icon images, and the check marks and window-menu glyphs in its
// gutter. Every GDI object made here is deleted again on every path.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>

#include "gdi_helpers.h"
#include "menu_colors.h"
#include "styled_menu.h"

namespace menus {

// The system menu font (lfMenuFont of SPI_GETNONCLIENTMETRICS); false (and `font` unchanged) when
// unreadable.
bool ReadMenuLogFont(LOGFONTA& font);
// The same, a zeroed record when unreadable.
LOGFONTA MenuLogFont();
winapp::Font MenuFont(bool bold, int escapement);
// The title font: Arial, 16 high at 96 DPI (scaled to `dpi`), bold, turned by `escapement` tenths
// of a degree.
LOGFONTA TitleLogFont(int escapement, int dpi = 96);
// The text's extent in the DC's font; an empty text is as high as the font.
SIZE TextExtent(HDC dc, const std::string& text);

inline CStyledMenuItemData* RecordOf(ULONG_PTR data) {
    return reinterpret_cast<CStyledMenuItemData*>(data);
}
// The accelerator table the item texts are built with (none when accelerator text is off).
HACCEL TableOf(const CStyledMenu* menu);
bool IsDefaultItem(const CStyledMenu* menu, const CStyledMenuItemData& record);

// A popup item is drawn into a bitmap of its size and copied at the end; bar items and separators
// go straight to the target.
class ItemCanvas {
public:
    ItemCanvas(HDC target, const RECT& item, bool buffered);
    ~ItemCanvas();
    ItemCanvas(const ItemCanvas&) = delete;
    ItemCanvas& operator=(const ItemCanvas&) = delete;
    HDC dc() const { return memory_ ? memory_.get() : target_; }

private:
    HDC target_;
    RECT item_;
    winapp::MemoryDc memory_;
    winapp::Bitmap bitmap_;
    std::optional<winapp::Selection> picture_;  // the bitmap in the memory DC
};

// The text of an item: left of the first tab left-aligned, right of the last tab right-aligned,
// a bar item centred (turned for a vertical bar).
void DrawItemText(HDC dc, const std::string& text, RECT area, bool onBar, bool vertical, UINT state, Colour colour,
                  HFONT font);

void DrawIconImage(HDC dc, HIMAGELIST list, int index, int x, int y);
// The icon in one colour (its mask filled with a brush of `colour`).
void DrawIconMono(HDC dc, HIMAGELIST list, int index, int x, int y, SIZE size, Colour colour);

// A bar item's state as the looks draw it: a selected item is drawn hot while the bar has no open
// popup (the keyboard's selection), and so is a command item the frame's tracking drew hot.
UINT BarItemState(CStyledMenu* menu, const CStyledMenuItemData& record, UINT state);
// Notes a selected bar item's screen rectangle as the bar's last hot item: the frame of its popup
// opens towards it, and it is drawn again as open when its popup opens.
void NoteHotBarItem(CStyledMenu* menu, const DRAWITEMSTRUCT* draw);

// The DPI an item is measured at (its menu's owner window's, else the screen's) and drawn at (the
// window of the DC it is drawn into, else the DC's). The item routines' pixel sizes are given for
// 96 DPI and scaled to it.
int MeasureDpiOf(const CStyledMenu* menu);
int DrawDpiOf(HDC dc);

// A popup item's gutter: the item up to its left edge + the menu's icon width + 8.
RECT GutterOf(const CStyledMenu* menu, const RECT& item, int dpi = 96);
// The check box behind a checked item's icon or glyph: the gutter less 1 (2 on the right).
RECT CheckBoxOf(const RECT& gutter, int dpi = 96);

// What an item without icon shows in its gutter: a check mark, a radio bullet or the item's own
// check bitmaps (with a check box in `boxFill` and `boxFrame` when checked), or the glyph of a
// window-menu command.
struct MarkColours {
    Colour boxFill;
    Colour boxFrame;
    Colour glyph;
};
void DrawItemMarks(HDC dc, CStyledMenu* menu, const DRAWITEMSTRUCT* draw, const CStyledMenuItemData& record, UINT state,
                   const RECT& gutter, const MarkColours& colours, int dpi = 96);

}  // namespace menus
