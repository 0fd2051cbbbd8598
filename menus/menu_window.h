// The window-level half of the menu library: a thread hook that subclasses every popup menu
// window, whose frame and shadow the active style then paints; and the message routing that
// frames and dialogs need for owner-drawn menus.
#pragma once

#include <windows.h>

#include "gdi.h"

namespace menus {

// Draw the style's frame on every menu window, not only on those of styled menus.
constexpr bool kBorderForAllMenus = true;
// The dialog support bits: subclass every dialog of the thread; give those dialogs a styled
// system menu.
constexpr int kDialogTempHandler = 0x1;
constexpr int kDialogSystemMenu = 0x2;
constexpr int kDialogSupportFlags = 0;

// What the library notes about a subclassed menu window.
enum class WindowFlag : int {
    SubclassedLate = 0x1,  // on the menu message 0x1E2 rather than on WM_CREATE
    StyleChanged = 0x2,    // the active style took the window's border styles away
    EscapePressed = 0x4,
    ServingPrint = 0x8,  // a WM_PRINT is being composed
};

class WindowFlags {
public:
    bool Has(WindowFlag flag) const { return (bits_ & static_cast<int>(flag)) != 0; }
    void Set(WindowFlag flag) { bits_ |= static_cast<int>(flag); }
    void Clear(WindowFlag flag) { bits_ &= ~static_cast<int>(flag); }
    int bits() const { return bits_; }

private:
    int bits_ = 0;
};

struct MenuWindowState {
    LONG savedStyle = 0;
    LONG savedExStyle = 0;
    int x = 0;  // the last recorded screen position; 0, 0 = none yet
    int y = 0;
    WindowFlags flags;
    bool ncPainted = false;  // the frame was painted once from WM_ERASEBKGND
    HMENU menu = nullptr;
    // The screen behind the window, 10 pixels wider and higher: a top-down 32-bit DIB section.
    winapp::Bitmap background;
    // A copy of the update region of the last WM_NCPAINT; none when that was the whole window
    // (region 1) or could not be copied.
    winapp::Region savedRegion;
    bool drawBorder = false;
};

// The region handle WM_NCPAINT passes for "the whole frame".
inline HRGN WholeFrameRegion() {
    return reinterpret_cast<HRGN>(1);
}

// The window's outer size and its client rectangle in window coordinates.
struct WindowGeometry {
    int width;
    int height;
    RECT client;
};
WindowGeometry GeometryOf(HWND window);

// Probes the platform, registers the styles, makes style 2 active and hooks the current thread
// (once: a second call installs no second hook). False when the hook could not be installed.
bool InstallMenuHook();
// Unhooks, deletes the styles and frees the libraries.
void RemoveMenuHook();
bool IsMenuHookInstalled();

LRESULT CALLBACK MenuHookProc(int code, WPARAM wParam, LPARAM lParam);
// True when the window was subclassed now.
bool SubclassMenuWindow(HWND window, bool late);
void UnsubclassMenuWindow(HWND window);
LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The record of a subclassed menu window; null when it has none.
MenuWindowState* StateOf(HWND window);
MenuWindowState* CaptureBackground(HWND window);
void DrawMenuShadow(HWND window, HDC dc);
void DrawBarJoint(HWND window, HDC dc);

// Subclasses a dialog with the temporary handler (dialog support bit 0).
void InstallTempHandler(HWND dialog);

// The menu noted by the last popup initialisation, for the next menu window subclassed.
HMENU& PendingPopupMenu();

}  // namespace menus
