#include "dpi.h"

namespace winapp {
namespace {

using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
using GetWindowDpiAwarenessContextProc = HANDLE(WINAPI*)(HWND);
using GetAwarenessFromDpiAwarenessContextProc = int(WINAPI*)(HANDLE);

// Windows 10 (1607) and later; looked up once, since older systems lack them.
struct DpiFunctions {
    GetDpiForWindowProc dpiForWindow = nullptr;
    GetWindowDpiAwarenessContextProc windowContext = nullptr;
    GetAwarenessFromDpiAwarenessContextProc awarenessOf = nullptr;

    DpiFunctions() {
        if (HMODULE user = GetModuleHandleA("user32.dll")) {
            dpiForWindow =
                reinterpret_cast<GetDpiForWindowProc>(reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
            windowContext = reinterpret_cast<GetWindowDpiAwarenessContextProc>(
                reinterpret_cast<void*>(GetProcAddress(user, "GetWindowDpiAwarenessContext")));
            awarenessOf = reinterpret_cast<GetAwarenessFromDpiAwarenessContextProc>(
                reinterpret_cast<void*>(GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
        }
    }
};

const DpiFunctions& Functions() {
    static const DpiFunctions functions;
    return functions;
}

constexpr int kDpiUnaware = 0;  // DPI_AWARENESS_UNAWARE

}  // namespace

UINT ScreenDpi() {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return kDefaultDpi;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

// A window that is not DPI aware is drawn (and stretched by the system) as at 96 DPI there; where
// the system does not stretch it, as under Wine, the screen's DPI is the one it sees, and so the
// one it draws at.
UINT DpiOf(HWND window) {
    const DpiFunctions& f = Functions();
    if (window != nullptr && f.dpiForWindow != nullptr) {
        const bool aware = f.windowContext == nullptr || f.awarenessOf == nullptr ||
                           f.awarenessOf(f.windowContext(window)) != kDpiUnaware;
        if (aware) {
            const UINT dpi = f.dpiForWindow(window);
            if (dpi != 0)
                return dpi;
        }
    }
    return ScreenDpi();
}

int SmallIconSizeFor(UINT dpi) {
    const int wanted = Scaled(16, dpi);
    int size = 16;
    for (int candidate : {20, 24, 32}) {
        if (candidate <= wanted)
            size = candidate;
    }
    return size;
}

}  // namespace winapp
