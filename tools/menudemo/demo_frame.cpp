#include "demo_frame.h"

#include <memory>
#include <string>
#include <utility>

#include "demo_resource.h"
#include "dpi.h"
#include "menu_draw.h"
#include "menu_styles.h"

namespace menudemo {
namespace {

constexpr int kIconWidth = 16;
constexpr int kIconHeight = 15;

void Box(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    const RECT rect{left, top, right, bottom};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

}  // namespace

// The demo's commands; the menu handling of every styled frame after them.
const winapp::MessageMap<DemoFrame> DemoFrame::kMessages(
    {
        winapp::OnCommandRange(ID_STYLE_FIRST, ID_STYLE_FIRST + 11, &DemoFrame::OnStyle),
        winapp::OnCommand(ID_VIEW_STATUS, &DemoFrame::OnViewStatus),
        winapp::OnCommandRange(ID_VIEW_LARGE, ID_VIEW_SMALL, &DemoFrame::SetRadio),
        winapp::OnCommand(ID_FILE_EXIT, &DemoFrame::OnFileExit),
        winapp::OnCommand(ID_HELP_ABOUT, &DemoFrame::OnHelpAbout),
        winapp::OnCommandRange(0xF000, 0xFFFF, &DemoFrame::OnWindowCommand),
        winapp::OnMessage(WM_INITMENUPOPUP, &DemoFrame::OnInitMenuPopup),
        winapp::OnMessage(WM_DESTROY, &DemoFrame::OnDestroy),
    },
    &CStyledFrameWnd::kMessages);

HICON MakeDemoIcon(int which) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP colour = CreateCompatibleBitmap(screen, kIconWidth, kIconHeight);
    HBITMAP mask = CreateBitmap(kIconWidth, kIconHeight, 1, 1, nullptr);
    // The mask: white (transparent) around the shape, black where the colour shows.
    HGDIOBJ old = SelectObject(dc, mask);
    Box(dc, 0, 0, kIconWidth, kIconHeight, RGB(255, 255, 255));
    RECT shape{};
    switch (which) {
        case 0:
            shape = {3, 1, 13, 14};
            break;
        case 1:
            shape = {1, 3, 15, 13};
            break;
        default:
            shape = {2, 2, 14, 14};
            break;
    }
    Box(dc, shape.left, shape.top, shape.right, shape.bottom, RGB(0, 0, 0));
    SelectObject(dc, colour);
    Box(dc, 0, 0, kIconWidth, kIconHeight, RGB(0, 0, 0));
    switch (which) {
        case 0:  // a sheet with lines
            Box(dc, 3, 1, 13, 14, RGB(90, 90, 90));
            Box(dc, 4, 2, 12, 13, RGB(255, 255, 255));
            for (int y = 5; y < 12; y += 2)
                Box(dc, 5, y, 11, y + 1, RGB(70, 110, 200));
            break;
        case 1:  // a folder
            Box(dc, 1, 3, 15, 13, RGB(160, 120, 20));
            Box(dc, 2, 5, 14, 12, RGB(240, 200, 80));
            break;
        default:  // a disk
            Box(dc, 2, 2, 14, 14, RGB(40, 60, 140));
            Box(dc, 4, 2, 12, 7, RGB(230, 230, 230));
            Box(dc, 5, 10, 11, 14, RGB(20, 20, 20));
            break;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mask;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}

DemoFrame::~DemoFrame() {
    Destroy();  // the menus go with their objects
    if (radioDot_ != nullptr)
        DeleteObject(radioDot_);
    if (accelerators_ != nullptr)
        DestroyAcceleratorTable(accelerators_);
}

bool DemoFrame::Create() {
    accelerators_ = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_DEMO_ACCELERATORS));
    menus::SetDefaultAcceleratorTable(accelerators_);
    if (!menu_.LoadMenu(IDR_DEMO_MENU))
        return false;

    menus::CStyledMenu* file = menus::CStyledMenu::FromHandle(filePopup());
    if (file != nullptr)
        file->InsertTitle(0, "Menu Demo", menus::kTitleGradient);

    // Icons for three File items; the store lives while items use it.
    const auto icons = std::make_shared<menus::CStyledMenuIcons>(kIconWidth, kIconHeight);
    // The first recent file has an icon as well (an item that can be checked and shows an icon).
    const UINT iconItems[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, kRecentFileWithIcon};
    for (int i = 0; i < 4; ++i) {
        HICON icon = MakeDemoIcon(i % 3);
        const int index = icons->AddIcon(icon);
        DestroyIcon(icon);
        if (menus::CStyledMenuItemData* record = menu_.RecordOf(iconItems[i]))
            record->SetIcon(icons, index);
    }

    // A radio pair: the checked item carries a checked bitmap of its own only.
    const WORD dot[8] = {0xFF, 0xFF, 0xE7, 0xC3, 0xC3, 0xE7, 0xFF, 0xFF};
    radioDot_ = CreateBitmap(8, 8, 1, 1, dot);
    SetRadio(ID_VIEW_SMALL);

    // 480 x 360 at 96 DPI, as large in the screen's terms at any other.
    const UINT dpi = winapp::ScreenDpi();
    if (!winapp::FrameWindow::Create("Menu Demo", menu_.handle(), winapp::Scaled(480, dpi), winapp::Scaled(360, dpi)))
        return false;
    UseStyle(2);
    return true;
}

bool DemoFrame::UseStyle(int style) {
    if (!menus::SetActiveStyle(style))
        return false;
    style_ = style;
    HMENU styles = GetSubMenu(viewPopup(), 5);
    CheckMenuRadioItem(styles, ID_STYLE_FIRST, ID_STYLE_FIRST + 11, ID_STYLE_FIRST + static_cast<UINT>(style),
                       MF_BYCOMMAND);
    menus::ApplyMenuBarBrush(&menu_);
    if (hwnd_ != nullptr) {
        // The bar's items are measured again for the new look.
        SetMenu(hwnd_, nullptr);
        SetMenu(hwnd_, menu_.handle());
        DrawMenuBar(hwnd_);
    }
    return true;
}

void DemoFrame::SetRadio(UINT id) {
    HMENU view = viewPopup();
    for (UINT item : {static_cast<UINT>(ID_VIEW_LARGE), static_cast<UINT>(ID_VIEW_SMALL)}) {
        const bool on = item == id;
        SetMenuItemBitmaps(view, item, MF_BYCOMMAND, nullptr, on ? radioDot_ : nullptr);
        CheckMenuItem(view, item, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    }
}

void DemoFrame::OnStyle(UINT id) {
    UseStyle(static_cast<int>(id - ID_STYLE_FIRST));
}

void DemoFrame::OnViewStatus() {
    const UINT state = GetMenuState(viewPopup(), ID_VIEW_STATUS, MF_BYCOMMAND);
    CheckMenuItem(viewPopup(), ID_VIEW_STATUS, MF_BYCOMMAND | ((state & MF_CHECKED) ? MF_UNCHECKED : MF_CHECKED));
}

void DemoFrame::OnFileExit() {
    PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

void DemoFrame::OnHelpAbout() {
    MessageBoxA(hwnd_, "Owner-drawn menus in twelve styles.", "Menu Demo", MB_OK | MB_ICONINFORMATION);
}

// The window-menu commands of the Window menu (renumbered while their popup is open).
void DemoFrame::OnWindowCommand(UINT id) {
    PostMessageA(hwnd_, WM_SYSCOMMAND, id & 0xFFF0, 0);
}

// The Window menu offers what the window's state allows, as the system menu does: Restore only for
// a minimised or maximised window, Minimize and Maximize only where the window is not so already.
bool DemoFrame::OnInitMenuPopup(WPARAM wParam, LPARAM, LRESULT&) {
    HMENU popup = reinterpret_cast<HMENU>(wParam);
    if (popup != windowPopup())
        return false;
    const bool minimised = IsIconic(hwnd_) != FALSE;
    const bool maximised = IsZoomed(hwnd_) != FALSE;
    const std::pair<UINT, bool> items[] = {{0, minimised || maximised}, {1, !minimised}, {2, !maximised}};
    for (const auto& [position, enabled] : items)
        EnableMenuItem(popup, position, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    return false;  // the styled frame prepares the popup as always
}

bool DemoFrame::OnDestroy(WPARAM, LPARAM, LRESULT&) {
    PostQuitMessage(0);
    return false;  // the styled frame lets go of its menus too
}

}  // namespace menudemo
