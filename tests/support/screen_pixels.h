// What is on the screen, pixel by pixel, for the window tests: the whole screen or one window's
// client area, as 0x00RRGGBB values, top row first.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "gdi.h"

namespace winapp {

struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;

    DWORD At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    COLORREF ColourAt(int x, int y) const { return ColourOfPixel(At(x, y)); }
};

// The client area of `window` as it shows on the screen; the whole screen without a window.
inline ScreenPixels CaptureScreenPixels(HWND window = nullptr) {
    ScreenPixels shot;
    HDC screen = GetDC(window);
    if (screen == nullptr)
        return shot;
    if (window != nullptr) {
        RECT client{};
        GetClientRect(window, &client);
        shot.width = client.right;
        shot.height = client.bottom;
    } else {
        shot.width = GetDeviceCaps(screen, HORZRES);
        shot.height = GetDeviceCaps(screen, VERTRES);
    }
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = memory != nullptr ? CreateCompatibleBitmap(screen, shot.width, shot.height) : nullptr;
    if (bitmap == nullptr) {
        if (memory != nullptr)
            DeleteDC(memory);
        ReleaseDC(window, screen);
        shot.width = shot.height = 0;
        return shot;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO format = TopDownBitmapInfo(shot.width, shot.height);
    shot.pixels.resize(static_cast<std::size_t>(shot.width) * static_cast<std::size_t>(shot.height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(shot.height), shot.pixels.data(), &format, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return shot;
}

}  // namespace winapp
