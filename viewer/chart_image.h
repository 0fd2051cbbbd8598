// The chart as a picture: drawn into a bitmap of its own, put on the clipboard, or encoded as a
// PNG file by the system's imaging component.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "gdi.h"

namespace viewer {

// A top-down 32-bit bitmap of `width` × `height` that `draw` has painted; `bits` points at its
// pixels (blue, green, red, unused). Null when the system has no memory for it.
winapp::Bitmap DrawIntoBitmap(int width, int height, const std::function<void(HDC)>& draw, const DWORD*& bits);

// The pixels of such a bitmap as the bytes of a PNG file. On failure, the result is the failing
// call's error and `png` is empty.
HRESULT EncodePng(const DWORD* bits, int width, int height, std::string& png);

// Puts the pixels of such a bitmap on the clipboard as a packed device-independent bitmap
// (CF_DIB: the header, then the rows bottom up, in one block of global memory), which every other
// program can read; the system offers it as CF_BITMAP too. The error of the failing call, or 0.
DWORD PutDibOnClipboard(HWND owner, const DWORD* bits, int width, int height);

// The system's text for a result of the imaging component or of another call.
std::string ResultText(HRESULT result);

}  // namespace viewer
