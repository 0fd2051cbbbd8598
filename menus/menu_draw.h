// The item routines of the drawing styles (measuring in item_measure.cpp; drawing in
// flat_items.cpp, classic_items.cpp and title_items.cpp), and the gradients, menu-bar brushes and
// themed colours they use (menu_fills.cpp).
#pragma once

#include <windows.h>

#include "menu_colors.h"

namespace menus {

class CStyledMenu;

// Fixed drawing options.
constexpr bool kSelectDisabledItems = true;
constexpr bool kShowAcceleratorText = true;
constexpr bool kUseIconVariants = true;
// The library's own item state: a bar item drawn hot by the frame's tracking.
constexpr UINT kHotTrackedState = 0x800;
constexpr UINT kVerticalBarState = 0x8000;

void MeasureFlatItem(CStyledMenu* menu, MEASUREITEMSTRUCT* measure, bool onBar);
void DrawFlatItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar);
void DrawThemedItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar);
void MeasureClassicItem(CStyledMenu* menu, MEASUREITEMSTRUCT* measure, bool onBar);
void DrawClassicItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar);
void DrawSpecialItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar);
void MeasureGradientItem(CStyledMenu* menu, MEASUREITEMSTRUCT* measure, bool onBar);
void DrawGradientItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar);
void DrawTitleItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar);

// The colour pair of styles 8 to 11 for items (forBar false) or the menu bar.
void GetThemedColors(Colour& first, Colour& second, bool forBar);
void FillGradient(HDC dc, const RECT& rect, Colour from, Colour to, bool horizontal, bool useNearest);
// Sets the menu-bar background of `menu` for the active style (styles 2, 3 and 8 to 11).
void ApplyMenuBarBrush(CStyledMenu* menu);
// Deletes the cached menu-bar brushes, after giving the menus that still use one the background
// they had before.
void ClearMenuBarBrushes();

// The last message position seen by a menu window on a key press (keyboard navigation).
DWORD& LastMenuMessagePos();

}  // namespace menus
