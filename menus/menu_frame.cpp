#include "menu_frame.h"

#include <memory>
#include <vector>

#include "gdi.h"
#include "item_drawing.h"
#include "menu_draw.h"
#include "menu_styles.h"
#include "menu_system.h"
#include "menu_window.h"
#include "procedures.h"

namespace menus {
namespace {

constexpr UINT_PTR kFirstTrackingTimer = 31;
constexpr UINT_PTR kLastTrackingTimer = 99;
constexpr UINT kTrackingPeriodMs = 100;    // of the menu bar's hot tracking
constexpr DWORD kIconRefreshGapMs = 2000;  // at least between two refreshes of the menu icons

// The popup that TrackStyledPopup shows, and for which window.
struct Tracking {
    HWND window = nullptr;
    HMENU menu = nullptr;
};
Tracking& TrackingState() {
    static Tracking tracking;
    return tracking;
}

// The menu (searched depth first) that holds an item with this identifier and data. A popup item
// whose submenu is no styled menu (one added after loading) is asked about by its submenu's
// handle: it matches too.
HMENU MenuHolding(HMENU menu, UINT id, ULONG_PTR data) {
    if (!IsLiveMenu(menu))
        return nullptr;
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        HMENU submenu = GetSubMenu(menu, position);
        if (submenu != nullptr) {
            if (HMENU found = MenuHolding(submenu, id, data))
                return found;
        }
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA | MIIM_ID;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info) || info.dwItemData != data)
            continue;
        const bool matches = submenu != nullptr ? reinterpret_cast<UINT_PTR>(submenu) == id : info.wID == id;
        if (matches)
            return menu;
    }
    return nullptr;
}

}  // namespace

void NotePopupMenu(HWND window, HMENU menu) {
    PendingPopupMenu() = menu;
    CStyledMenu* styled = IsLiveMenu(menu) ? CStyledMenu::FromHandle(menu) : nullptr;
    if (styled == nullptr)
        return;
    styled->setOwner(window);
    styled->OnPopupInit();
    CStyledMenu* bar = CStyledMenu::FromHandle(styled->parent());
    if (bar == nullptr || bar->isPopup())
        return;
    if (bar->openPopups()++ != 0)
        return;
    if (!IsRectEmpty(&bar->lastHotBarItem()))
        RedrawHotBarItem(window, bar->lastHotBarItem());
}

bool RouteMeasureItem(HWND window, MEASUREITEMSTRUCT* measure) {
    if (measure == nullptr || measure->CtlType != ODT_MENU)
        return false;
    HMENU asMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(measure->itemID));
    if (IsLiveMenu(asMenu)) {
        if (CStyledMenu* styled = CStyledMenu::FromHandle(asMenu)) {
            styled->MeasureItem(measure);
            return true;
        }
    }
    std::vector<HMENU> candidates;
    if (TrackingState().window == window)
        candidates.push_back(TrackingState().menu);
    candidates.push_back(GetMenu(window));
    candidates.push_back(GetSystemMenu(window, FALSE));
    for (HMENU candidate : candidates) {
        HMENU holder = MenuHolding(candidate, measure->itemID, measure->itemData);
        if (CStyledMenu* styled = CStyledMenu::FromHandle(holder)) {
            styled->MeasureItem(measure);
            return true;
        }
    }
    return false;
}

bool RouteDrawItem(DRAWITEMSTRUCT* draw) {
    if (draw == nullptr || draw->CtlType != ODT_MENU)
        return false;
    CStyledMenu* styled = CStyledMenu::FromHandle(reinterpret_cast<HMENU>(draw->hwndItem));
    if (styled == nullptr)
        return false;
    styled->DrawItem(draw);
    return true;
}

void RefreshMenuIcons() {
    static DWORD last = 0;
    static bool once = false;
    const DWORD now = GetTickCount();
    if (once && now - last < kIconRefreshGapMs)
        return;
    once = true;
    last = now;
    for (CStyledMenuIcons* store : CStyledMenuIcons::Stores())
        store->Refresh();
}

BOOL TrackStyledPopup(CStyledMenu& menu, UINT flags, int x, int y, HWND window) {
    Tracking& tracking = TrackingState();
    const Tracking saved = tracking;
    tracking = {window, menu.handle()};
    const BOOL result = TrackPopupMenu(menu.handle(), flags, x, y, 0, window, nullptr);
    tracking = saved;
    return result;
}

int DrawBarItem(HWND window, int position, UINT state) {
    HMENU bar = GetMenu(window);
    RECT item{};
    if (position == -1 || !GetMenuItemRect(window, bar, static_cast<UINT>(position), &item))
        return 0;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_TYPE | MIIM_DATA;
    if (!GetMenuItemInfoA(bar, static_cast<UINT>(position), TRUE, &info) || !(info.fType & MFT_OWNERDRAW))
        return 0;
    const winapp::WindowDc windowDc(window, true);
    if (!windowDc)
        return 0;
    HDC dc = windowDc.get();
    LOGFONTA logFont{};
    const winapp::Font font(ReadMenuLogFont(logFont) ? CreateFontIndirectA(&logFont) : nullptr);
    const winapp::Selection fontSelection(dc, font.get());
    RECT frame{};
    GetWindowRect(window, &frame);
    OffsetRect(&item, -frame.left, -frame.top);
    if (ThePlatform().underWine) {
        const bool sizable = (GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME) != 0;
        const int frameWidth = GetSystemMetrics(sizable ? SM_CXSIZEFRAME : SM_CXDLGFRAME);
        const int frameHeight = GetSystemMetrics(sizable ? SM_CYSIZEFRAME : SM_CYDLGFRAME);
        OffsetRect(&item, -frameWidth,
                   -(GetSystemMetrics(SM_CYMENU) + 1 + GetSystemMetrics(SM_CYCAPTION) + frameHeight));
    }
    HotBarItem() = reinterpret_cast<CStyledMenuItemData*>(info.dwItemData);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = info.wID;
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = state;
    draw.hwndItem = reinterpret_cast<HWND>(bar);
    draw.hDC = dc;
    draw.rcItem = item;
    draw.itemData = info.dwItemData;
    POINT origin{};
    SetWindowOrgEx(dc, 0, 0, &origin);
    SendMessageA(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
    return 1;
}

// Some systems paint a menu bar's background brush only behind its items, leaving the rest of the
// bar in the system's colour: the rest of the bar of a styled menu with a brush gets it too.
void FillMenuBarBackground(HWND window) {
    HMENU bar = GetMenu(window);
    if (CStyledMenu::FromHandle(bar) == nullptr)
        return;
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    MENUBARINFO barInfo{};
    barInfo.cbSize = sizeof barInfo;
    RECT frame{};
    if (!GetMenuInfo(bar, &info) || info.hbrBack == nullptr || !GetMenuBarInfo(window, OBJID_MENU, 0, &barInfo) ||
        !GetWindowRect(window, &frame))
        return;
    const winapp::WindowDc windowDc(window, true);
    if (!windowDc)
        return;
    HDC dc = windowDc.get();
    RECT area = barInfo.rcBar;
    OffsetRect(&area, -frame.left, -frame.top);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    const int count = GetMenuItemCount(bar);
    for (int position = 0; position < count; ++position) {
        RECT item{};
        if (GetMenuItemRect(window, bar, static_cast<UINT>(position), &item)) {
            OffsetRect(&item, -frame.left, -frame.top);
            ExcludeClipRect(dc, item.left, item.top, item.right, item.bottom);
        }
    }
    FillRect(dc, &area, info.hbrBack);
}

// ---- the frame and dialog classes

// The message map of the styled frames and dialogs; a frame's base handling is the default window
// procedure, a dialog's the dialog manager's, which runs after a message the map leaves.
template <class Base>
const winapp::MessageMap<StyledMenuWindow<Base>> StyledMenuWindow<Base>::kMessages = {
    winapp::OnMessage(WM_CREATE, &StyledMenuWindow::OnCreate),
    winapp::OnMessage(WM_INITDIALOG, &StyledMenuWindow::OnInitDialog),
    winapp::OnMessage(WM_INITMENUPOPUP, &StyledMenuWindow::OnInitMenuPopup),
    winapp::OnMessage(WM_MEASUREITEM, &StyledMenuWindow::OnMeasureItem),
    winapp::OnMessage(WM_DRAWITEM, &StyledMenuWindow::OnDrawItem),
    winapp::OnMessage(WM_MENUCHAR, &StyledMenuWindow::OnMenuChar),
    winapp::OnMessage(WM_SYSCOLORCHANGE, &StyledMenuWindow::OnSysColorChange),
    winapp::OnMessage(WM_NCHITTEST, &StyledMenuWindow::OnNcHitTest),
    winapp::OnMessage(WM_TIMER, &StyledMenuWindow::OnTimer),
    winapp::OnMessage(WM_ENTERMENULOOP, &StyledMenuWindow::OnEnterMenuLoop),
    winapp::OnMessage(WM_EXITMENULOOP, &StyledMenuWindow::OnExitMenuLoop),
    winapp::OnMessage(WM_DESTROY, &StyledMenuWindow::OnDestroy),
    winapp::OnMessage(WM_NCPAINT, &StyledMenuWindow::OnFramePaint<WM_NCPAINT>),
    winapp::OnMessage(WM_NCACTIVATE, &StyledMenuWindow::OnFramePaint<WM_NCACTIVATE>),
};

template <class Base>
LRESULT StyledMenuWindow<Base>::BaseHandling(UINT message, WPARAM wParam, LPARAM lParam) const {
    return kDialog ? 0 : DefWindowProcA(this->hwnd_, message, wParam, lParam);
}

template <class Base>
void StyledMenuWindow<Base>::TakeSystemMenu() {
    if (systemMenu_.Attach(GetSystemMenu(this->hwnd_, FALSE))) {
        systemMenu_.setPopup(true);
        systemMenu_.ConvertMenu();
    }
}

template <class Base>
bool StyledMenuWindow<Base>::OnCreate(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = BaseHandling(WM_CREATE, wParam, lParam);
    if (result == -1)
        return true;
    if (systemMenu_.handle() != nullptr)
        systemMenu_.DestroyMenu();
    TakeSystemMenu();
    return true;
}

// (A dialog sees no WM_CREATE of its own: it takes its system menu here.)
template <class Base>
bool StyledMenuWindow<Base>::OnInitDialog(WPARAM, LPARAM, LRESULT&) {
    if (kDialog && systemMenu_.handle() == nullptr)
        TakeSystemMenu();
    return false;
}

template <class Base>
bool StyledMenuWindow<Base>::OnInitMenuPopup(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = BaseHandling(WM_INITMENUPOPUP, wParam, lParam);
    NotePopupMenu(this->hwnd_, reinterpret_cast<HMENU>(wParam));
    return true;
}

template <class Base>
bool StyledMenuWindow<Base>::OnMeasureItem(WPARAM, LPARAM lParam, LRESULT& result) {
    if (!RouteMeasureItem(this->hwnd_, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
        return false;
    result = TRUE;
    return true;
}

template <class Base>
bool StyledMenuWindow<Base>::OnDrawItem(WPARAM, LPARAM lParam, LRESULT& result) {
    if (!RouteDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)))
        return false;
    result = TRUE;
    return true;
}

template <class Base>
bool StyledMenuWindow<Base>::OnMenuChar(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HMENU menu = reinterpret_cast<HMENU>(lParam);
    if (CStyledMenu::FromHandle(menu) == nullptr)
        return false;
    result = CStyledMenu::FindMenuMnemonic(static_cast<char>(LOWORD(wParam)), HIWORD(wParam), menu);
    return true;
}

template <class Base>
bool StyledMenuWindow<Base>::OnSysColorChange(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = BaseHandling(WM_SYSCOLORCHANGE, wParam, lParam);
    RefreshMenuIcons();
    ApplyMenuBarBrush(&menu_);
    return true;
}

template <class Base>
bool StyledMenuWindow<Base>::OnNcHitTest(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (kDialog)
        return false;
    result = TrackHotBarItem(BaseHandling(WM_NCHITTEST, wParam, lParam), lParam);
    return true;
}

template <class Base>
bool StyledMenuWindow<Base>::OnTimer(WPARAM wParam, LPARAM, LRESULT& result) {
    if (wParam != timer_ || timer_ == 0)
        return false;
    POINT cursor{};
    GetCursorPos(&cursor);
    SendMessageA(this->hwnd_, WM_NCHITTEST, 0, MAKELPARAM(cursor.x, cursor.y));
    result = 0;
    return true;
}

template <class Base>
bool StyledMenuWindow<Base>::OnEnterMenuLoop(WPARAM, LPARAM, LRESULT&) {
    inMenuLoop_ = true;
    StopTrackingTimer();
    ForgetHotItem();
    return false;
}

template <class Base>
bool StyledMenuWindow<Base>::OnExitMenuLoop(WPARAM, LPARAM, LRESULT&) {
    inMenuLoop_ = false;
    return false;
}

template <class Base>
bool StyledMenuWindow<Base>::OnDestroy(WPARAM, LPARAM, LRESULT&) {
    HWND window = this->hwnd_;
    StopTrackingTimer();
    // The window would destroy its menu bar with it: the menu object owns it and destroys it
    // itself. The system menu goes with the window; its object lets go.
    if (GetMenu(window) != nullptr && GetMenu(window) == menu_.handle())
        SetMenu(window, nullptr);
    systemMenu_.Release();
    return false;
}

// The frame's own painting, then the rest of its menu bar in the bar's brush.
template <class Base>
template <UINT Message>
bool StyledMenuWindow<Base>::OnFramePaint(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (kDialog)
        return false;
    result = BaseHandling(Message, wParam, lParam);
    FillMenuBarBackground(this->hwnd_);
    return true;
}

template <class Base>
void StyledMenuWindow<Base>::StartTrackingTimer() {
    if (timer_ != 0 || !IsWindow(this->hwnd_))
        return;
    for (UINT_PTR id = kFirstTrackingTimer; id <= kLastTrackingTimer; ++id) {
        if (SetTimer(this->hwnd_, id, kTrackingPeriodMs, nullptr) != 0) {
            timer_ = id;
            return;
        }
    }
}

template <class Base>
void StyledMenuWindow<Base>::StopTrackingTimer() {
    if (timer_ != 0)
        KillTimer(this->hwnd_, timer_);
    timer_ = 0;
}

template <class Base>
void StyledMenuWindow<Base>::ForgetHotItem() {
    if (hotPosition_ != -1)
        DrawBarItem(this->hwnd_, hotPosition_, 0);
    hotPosition_ = -1;
    HotBarItem() = nullptr;
}

template <class Base>
LRESULT StyledMenuWindow<Base>::TrackHotBarItem(LRESULT hit, LPARAM point) {
    HWND window = this->hwnd_;
    const Platform& platform = ThePlatform();
    if (platform.versionIndex >= WindowsVersion::kWindows2000 && !platform.remoteSession)
        return hit;
    UINT normal = 0;
    UINT hot = ODS_HOTLIGHT;
    const HWND focus = GetFocus();
    if (!(focus == window || IsChild(window, focus))) {
        if (IsWindows95OrNT4(platform.versionIndex)) {
            normal = hot = 0;
        } else {
            normal = ODS_INACTIVE;
            hot = ODS_HOTLIGHT | ODS_INACTIVE;
        }
    }
    if (!inMenuLoop_ && hit == HTMENU && CStyledMenu::FromHandle(GetMenu(window)) != nullptr) {
        const POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
        const int position = MenuItemFromPoint(window, GetMenu(window), at);
        if (position >= 0) {
            if (position != hotPosition_) {
                if (hotPosition_ != -1)
                    DrawBarItem(window, hotPosition_, normal);
                if (!DrawBarItem(window, position, hot)) {
                    hotPosition_ = -1;
                    return HTMENU;
                }
            } else if (HotBarItem() != nullptr || !DrawBarItem(window, position, hot)) {
                return HTMENU;
            }
            StartTrackingTimer();
            hotPosition_ = position;
            return HTMENU;
        }
    }
    if (hotPosition_ != -1)
        DrawBarItem(window, hotPosition_, normal);
    hotPosition_ = -1;
    HotBarItem() = nullptr;
    StopTrackingTimer();
    return hit;
}

template class StyledMenuWindow<winapp::FrameWindow>;
template class StyledMenuWindow<winapp::Dialog>;

// ---- the temporary handler of dialogs (dialog support)

namespace {

const char kTempHandlerProperty[] = "CStyledMenuTempHandler";

struct CStyledMenuTempHandler {
    CStyledMenu systemMenu;
    WNDPROC previous = nullptr;
    HWND dialog = nullptr;

    ~CStyledMenuTempHandler() {
        if (dialog != nullptr && previous != nullptr)
            SetWindowLongPtrA(dialog, GWLP_WNDPROC, winapp::ProcedureValue(previous));
        if (dialog != nullptr)
            RemovePropA(dialog, kTempHandlerProperty);
        systemMenu.Detach();
    }
};

LRESULT CALLBACK TempHandlerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* handler = static_cast<CStyledMenuTempHandler*>(GetPropA(window, kTempHandlerProperty));
    if (handler == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC previous = handler->previous;
    auto pass = [&]() { return CallWindowProcA(previous, window, message, wParam, lParam); };
    switch (message) {
        case WM_DESTROY: {
            const LRESULT result = pass();
            // The dialog's property held the handler; it goes with the dialog.
            const std::unique_ptr<CStyledMenuTempHandler> owned(handler);
            return result;
        }
        case WM_DRAWITEM: {
            auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            CStyledMenu* styled = CStyledMenu::FromHandle(reinterpret_cast<HMENU>(draw->hwndItem));
            if (handler->systemMenu.handle() != nullptr && draw->CtlType == ODT_MENU && styled != nullptr) {
                styled->DrawItem(draw);
                return 1;
            }
            return pass();
        }
        case WM_MEASUREITEM:
            return RouteMeasureItem(window, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)) ? 1 : pass();
        case WM_INITDIALOG: {
            if (!(kDialogSupportFlags & kDialogSystemMenu))
                return pass();
            const LRESULT result = pass();
            HMENU system = GetSystemMenu(window, FALSE);
            if (CStyledMenu::FromHandle(system) == nullptr && handler->systemMenu.Attach(system)) {
                handler->systemMenu.setPopup(true);
                handler->systemMenu.ConvertMenu();
            }
            return result;
        }
        case WM_INITMENUPOPUP: {
            const LRESULT result = pass();
            NotePopupMenu(window, reinterpret_cast<HMENU>(wParam));
            return result;
        }
        case WM_MENUCHAR:
            if (CStyledMenu::FromHandle(reinterpret_cast<HMENU>(lParam)) != nullptr)
                return CStyledMenu::FindMenuMnemonic(static_cast<char>(LOWORD(wParam)), HIWORD(wParam),
                                                     reinterpret_cast<HMENU>(lParam));
            return pass();
        default:
            return pass();
    }
}

}  // namespace

void InstallTempHandler(HWND dialog) {
    auto made = std::make_unique<CStyledMenuTempHandler>();
    made->dialog = dialog;
    if (!SetPropA(dialog, kTempHandlerProperty, made.get())) {
        ReportLastError();
        made->dialog = nullptr;
        return;
    }
    // The dialog's property holds it from here; it goes on WM_DESTROY.
    CStyledMenuTempHandler* handler = made.release();
    handler->previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(dialog, GWLP_WNDPROC, winapp::ProcedureValue(TempHandlerProc)));
}

}  // namespace menus
