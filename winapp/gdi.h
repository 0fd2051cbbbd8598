// Owning holders of GDI objects and memory device contexts, a selection that undoes itself, and the
// form of 32-bit device-independent pixels.
#pragma once

#include <windows.h>

#include "handles.h"

namespace winapp {

struct GdiObjectTraits {
    static void Close(HGDIOBJ object) { DeleteObject(object); }
};
struct MemoryDcTraits {
    static void Close(HDC dc) { DeleteDC(dc); }
};

using Bitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using Pen = UniqueHandle<HPEN, GdiObjectTraits>;
using Brush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using Font = UniqueHandle<HFONT, GdiObjectTraits>;
using Region = UniqueHandle<HRGN, GdiObjectTraits>;
using MemoryDc = UniqueHandle<HDC, MemoryDcTraits>;

// A window's (or, for a null window, the screen's) device context, released with the holder.
class WindowDc {
public:
    explicit WindowDc(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// The device context of one WM_PAINT: BeginPaint with the holder, EndPaint when it goes.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() {
        if (dc_ != nullptr)
            EndPaint(window_, &paint_);
    }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a device context for the holder's lifetime.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (old_ != nullptr)
            SelectObject(dc_, old_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// The header of a top-down 32-bit device-independent bitmap of width × height: its pixels are
// 0x00RRGGBB values (blue, green, red, unused in memory), top row first.
inline BITMAPINFO TopDownBitmapInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Such a pixel as a colour (0x00BBGGRR).
constexpr COLORREF ColourOfPixel(DWORD pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// A solid rectangle, without a brush (nothing for an empty one).
inline void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const COLORREF old = SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

}  // namespace winapp
