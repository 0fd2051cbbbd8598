// The frame and dialog classes that bring owner-drawn menus into use, and the routing they share:
// popup initialisation, measure requests, mnemonics and the menu bar's hot tracking.
#pragma once

#include <windows.h>

#include <type_traits>

#include "frame_window.h"
#include "message_map.h"
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

// A window of the framework (`Base`: a frame or a dialog) whose menu bar and system menu are styled
// menus, with the message handling owner-drawn menus need: popup initialisation, measure and draw
// requests, mnemonics, and the menu bar's hot tracking on older systems.
template <class Base>
class StyledMenuWindow : public Base {
public:
    using Base::Base;

    CStyledMenu& menu() { return menu_; }
    CStyledMenu& systemMenu() { return systemMenu_; }
    int hotPosition() const { return hotPosition_; }
    bool inMenuLoop() const { return inMenuLoop_; }

protected:
    static constexpr bool kDialog = std::is_base_of_v<winapp::Dialog, Base>;
    static const winapp::MessageMap<StyledMenuWindow> kMessages;
    const winapp::MessageTable* Messages() const override { return &kMessages; }

    CStyledMenu menu_;
    CStyledMenu systemMenu_;

private:
    bool OnCreate(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnInitDialog(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnInitMenuPopup(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnMeasureItem(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnDrawItem(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnMenuChar(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSysColorChange(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnNcHitTest(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnTimer(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnEnterMenuLoop(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnExitMenuLoop(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnDestroy(WPARAM wParam, LPARAM lParam, LRESULT& result);
    // WM_NCPAINT and WM_NCACTIVATE: the frame's own painting, then the rest of its menu bar.
    template <UINT Message>
    bool OnFramePaint(WPARAM wParam, LPARAM lParam, LRESULT& result);

    LRESULT BaseHandling(UINT message, WPARAM wParam, LPARAM lParam) const;
    void TakeSystemMenu();
    // The hot look of the bar item under the point (WM_NCHITTEST); the hit test to return.
    LRESULT TrackHotBarItem(LRESULT hit, LPARAM point);
    void StartTrackingTimer();
    void StopTrackingTimer();
    void ForgetHotItem();

    bool inMenuLoop_ = false;
    int hotPosition_ = -1;
    UINT_PTR timer_ = 0;
};

extern template class StyledMenuWindow<winapp::FrameWindow>;
extern template class StyledMenuWindow<winapp::Dialog>;

// A frame window whose menu bar and system menu are styled menus.
class CStyledFrameWnd : public StyledMenuWindow<winapp::FrameWindow> {};

// A dialog with the same menu handling.
class CStyledDialog : public StyledMenuWindow<winapp::Dialog> {
public:
    explicit CStyledDialog(int templateId) : StyledMenuWindow(templateId) {}
};

}  // namespace menus
