#include "dpi.h"

#include "procedures.h"

namespace winapp {
namespace {

// Windows 10 (1607) and later; looked up once, since older systems lack them. (The headers declare
// them only for programs made for those systems, so their types are spelt out here.)
struct DpiFunctions {
    UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
    HANDLE(WINAPI* windowContext)(HWND) = nullptr;
    int(WINAPI* awarenessOf)(HANDLE) = nullptr;

    DpiFunctions() {
        HMODULE user = GetModuleHandleA("user32.dll");
        dpiForWindow = LoadedFunction<UINT WINAPI(HWND)>(user, "GetDpiForWindow");
        windowContext = LoadedFunction<HANDLE WINAPI(HWND)>(user, "GetWindowDpiAwarenessContext");
        awarenessOf = LoadedFunction<int WINAPI(HANDLE)>(user, "GetAwarenessFromDpiAwarenessContext");
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
