// The frame and dialog classes that bring owner-drawn menus into use, and the routing they share:
// popup initialisation, measure requests, mnemonics and the menu bar's hot tracking.
#pragma once

#include <windows.h>

#include "frame_window.h"
#include "styled_menu.h"
#include "window.h"

namespace menus {

// After the platform's own WM_INITMENUPOPUP handling: notes the menu for the next menu window and
// lets a styled menu prepare its items.
void NotePopupMenu(HWND window, HMENU menu);
// Answers WM_MEASUREITEM for menu items; true when a styled menu measured the item.
bool RouteMeasureItem(HWND window, MEASUREITEMSTRUCT* measure);
// Answers WM_DRAWITEM for the items of a styled menu; true when one drew the item.
bool RouteDrawItem(DRAWITEMSTRUCT* draw);
// Refreshes every icon store, at most once in 2000 ms.
void RefreshMenuIcons();
// Shows `menu` as a context menu of `window`, noted as the menu the framework is tracking.
BOOL TrackStyledPopup(CStyledMenu& menu, UINT flags, int x, int y, HWND window);

// Draws an owner-drawn bar item of `window`'s menu in `state` (the hot look); 0 when it cannot.
int DrawBarItem(HWND window, int position, UINT state);

// The message handling shared by the styled frames and dialogs.
class StyledMenuRouting {
public:
    explicit StyledMenuRouting(CStyledMenu& menu, CStyledMenu& systemMenu) : menu_(menu), systemMenu_(systemMenu) {}

    // True when handled, with `result`. A frame's base handling is the default window procedure;
    // a dialog's is the dialog manager's, which runs after an unhandled message.
    bool Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, bool dialog);

    int hotPosition() const { return hotPosition_; }
    bool inMenuLoop() const { return inMenuLoop_; }

private:
    LRESULT OnNcHitTest(HWND window, LRESULT hit, LPARAM point);
    void StartTrackingTimer(HWND window);
    void StopTrackingTimer(HWND window);
    void ForgetHotItem(HWND window);

    CStyledMenu& menu_;
    CStyledMenu& systemMenu_;
    bool inMenuLoop_ = false;
    int hotPosition_ = -1;
    UINT_PTR timer_ = 0;
};

// A frame window whose menu bar and system menu are styled menus.
class CStyledFrameWnd : public winapp::FrameWindow {
public:
    CStyledFrameWnd() : routing_(menu_, systemMenu_) {}
    CStyledMenu& menu() { return menu_; }
    CStyledMenu& systemMenu() { return systemMenu_; }
    const StyledMenuRouting& routing() const { return routing_; }

protected:
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    CStyledMenu menu_;
    CStyledMenu systemMenu_;

private:
    StyledMenuRouting routing_;
};

// A dialog with the same menu handling.
class CStyledDialog : public winapp::Dialog {
public:
    explicit CStyledDialog(int templateId) : winapp::Dialog(templateId), routing_(menu_, systemMenu_) {}

protected:
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    CStyledMenu menu_;
    CStyledMenu systemMenu_;

private:
    StyledMenuRouting routing_;
};

}  // namespace menus
