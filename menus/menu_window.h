// The window-level half of the menu library: a thread hook that subclasses every popup menu
// window, whose frame and shadow the active style then paints; and the message routing that
// frames and dialogs need for owner-drawn menus.
#pragma once

#include <windows.h>

namespace menus {

// Draw the style's frame on every menu window, not only on those of styled menus.
constexpr int kBorderForAllMenus = 1;
// Bit 0: subclass every dialog of the thread; bit 1: give those dialogs a styled system menu.
constexpr int kDialogSupportFlags = 0;

struct MenuWindowState {
    LONG savedStyle = 0;
    LONG savedExStyle = 0;
    int x = 0;  // the last recorded screen position; 0, 0 = none yet
    int y = 0;
    int flags = 0;  // 1 subclassed late, 2 style bits changed, 4 Escape pressed, 8 serving WM_PRINT
    int ncPainted = 0;
    HMENU menu = nullptr;
    // The screen behind the window, 10 pixels wider and higher: a top-down 32-bit DIB section.
    HBITMAP background = nullptr;
    HRGN savedRegion = reinterpret_cast<HRGN>(1);
    int drawBorder = 0;
};

// Probes the platform, registers the styles, makes style 2 active and hooks the current thread
// (once: a second call installs no second hook). False when the hook could not be installed.
bool InstallMenuHook();
// Unhooks, deletes the styles and frees the libraries.
void RemoveMenuHook();
bool IsMenuHookInstalled();

LRESULT CALLBACK MenuHookProc(int code, WPARAM wParam, LPARAM lParam);
int SubclassMenuWindow(HWND window, bool late);
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
