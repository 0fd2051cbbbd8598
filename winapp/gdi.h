// Owning holders of GDI objects and memory device contexts, and a selection that undoes itself.
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
using MemoryDc = UniqueHandle<HDC, MemoryDcTraits>;

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

// A solid rectangle, without a brush (nothing for an empty one).
inline void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const COLORREF old = SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

}  // namespace winapp
