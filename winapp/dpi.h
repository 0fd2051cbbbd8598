// The DPI a window is drawn at, and the sizes the programs give in pixels at 96 DPI scaled to it.
// Every window scales by its own DPI: on a system with per-monitor scaling that is its monitor's,
// elsewhere the screen's.
#pragma once

#include <windows.h>

namespace winapp {

constexpr UINT kDefaultDpi = 96;
// Sent to a top-level window whose DPI changed (its monitor's, or the scaling): the new DPI in the
// low word of wParam, the suggested window rectangle in lParam. (Named here since the headers
// offer it only to programs for newer systems than this one's.)
constexpr UINT kDpiChangedMessage = 0x02E0;

// The screen's DPI (LOGPIXELSX), 96 where it cannot be read.
UINT ScreenDpi();
// The window's DPI: GetDpiForWindow where the system has it and the window is DPI aware, else the
// screen's. Null gives the screen's.
UINT DpiOf(HWND window);
// `pixels` at 96 DPI at `dpi`, rounded to the nearest pixel (so exactly `pixels` at 96).
inline int Scaled(int pixels, UINT dpi) {
    return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}
// Back from `dpi` to 96 DPI.
inline int Unscaled(int pixels, UINT dpi) {
    return dpi == 0 ? pixels : MulDiv(pixels, static_cast<int>(kDefaultDpi), static_cast<int>(dpi));
}

// One window's scale: the sizes it draws, made for its DPI.
class DpiScale {
public:
    explicit DpiScale(UINT dpi = kDefaultDpi) : dpi_(dpi == 0 ? kDefaultDpi : dpi) {}
    static DpiScale Of(HWND window) { return DpiScale(DpiOf(window)); }
    UINT dpi() const { return dpi_; }
    int operator()(int pixels) const { return Scaled(pixels, dpi_); }

private:
    UINT dpi_;
};

// The size of the small icons drawn for a DPI: 16, 20, 24 or 32 pixels, the largest not above the
// scaled 16 (so 16 at 96 DPI, 24 at 144).
int SmallIconSizeFor(UINT dpi);

}  // namespace winapp
