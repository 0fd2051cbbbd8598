// Small drawing helpers of the menu library; every GDI object made here is deleted again.
#pragma once

#include <windows.h>

#include "gdi.h"
#include "menu_colors.h"

namespace menus {

// A solid rectangle (nothing for an empty one).
inline void Fill(HDC dc, const RECT& rect, Colour colour) {
    winapp::FillSolid(dc, rect, colour);
}

// A one-pixel rectangle outline with no fill.
inline void Outline(HDC dc, const RECT& rect, Colour colour) {
    const winapp::Pen pen(CreatePen(PS_SOLID, 1, colour));
    const winapp::Selection penSelection(dc, pen.get());
    const winapp::Selection brushSelection(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

// A one-pixel line from (x1, y1) up to, not including, (x2, y2).
inline void Line(HDC dc, int x1, int y1, int x2, int y2, Colour colour) {
    const winapp::Pen pen(CreatePen(PS_SOLID, 1, colour));
    const winapp::Selection selected(dc, pen.get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

}  // namespace menus
