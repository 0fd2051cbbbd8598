// The drawing styles: one object per style identifier, each binding the item routines of its
// look, kept in a registry with one active style.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

namespace menus {

class CStyledMenu;
struct MenuWindowState;

using MeasureRoutine = void (*)(CStyledMenu* menu, MEASUREITEMSTRUCT* measure, bool onBar);
using DrawRoutine = void (*)(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar);

class CStyledMenuStyle {
public:
    CStyledMenuStyle(int id, int flags, MeasureRoutine measure, DrawRoutine draw, DrawRoutine title)
        : id(id), flags(flags), measureItem(measure), drawItem(draw), drawTitle(title) {}
    virtual ~CStyledMenuStyle() = default;

    // A menu window was subclassed / is being released.
    virtual int Attach(HWND window);
    virtual int Detach(HWND window);
    virtual int IsBorderOn() const { return flags & kFrameBit; }
    virtual int DrawBorder(HWND window, HDC dc, int skipBand);
    virtual int EraseBackground(HWND window, HDC dc);
    virtual int CalcNonClient(HWND window, NCCALCSIZE_PARAMS* params);
    virtual int AdjustWindowPos(HWND window, WINDOWPOS* position);
    virtual int GetBorderRect(HWND window, RECT* rect);

    // The style draws its own menu-window frame.
    static constexpr int kFrameBit = 0x1;

    int id;     // a StyleId
    int flags;  // kFrameBit or 0
    MeasureRoutine measureItem;
    DrawRoutine drawItem;
    DrawRoutine drawTitle;
    int insetLeft = 2;
    int insetTop = 2;
};

// Styles 2, 3 and 8 to 11: a flat frame with a gutter line, the background in the menu's colour.
class CStyledMenuFlatStyle : public CStyledMenuStyle {
public:
    using CStyledMenuStyle::CStyledMenuStyle;
    int DrawBorder(HWND window, HDC dc, int skipBand) override;
    int EraseBackground(HWND window, HDC dc) override;
};

// Creates the twelve styles in the registry's order (once) and makes the flat style active.
void RegisterStyles();
// Deletes every style object.
void DeleteStyles();
// Adds a style (none for null), which the registry then owns.
void RegisterStyle(std::unique_ptr<CStyledMenuStyle> style);
const std::vector<CStyledMenuStyle*>& Styles();
CStyledMenuStyle* FindStyle(int id);
CStyledMenuStyle* ActiveStyle();
// Makes the style with `id` active; false (and nothing changed) when no such style is registered.
bool SetActiveStyle(int id);

}  // namespace menus
