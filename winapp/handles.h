// Owning holders of menu and image-list handles. Icons loaded from resources are shared and need none.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace winapp {

template <class Handle, class Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Gives the handle up to a new owner.
    Handle Release() { return std::exchange(handle_, nullptr); }
    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr)
            Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

struct MenuTraits {
    static void Close(HMENU menu) { DestroyMenu(menu); }
};
struct ImageListTraits {
    static void Close(HIMAGELIST list) { ImageList_Destroy(list); }
};
struct KernelHandleTraits {
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

using Menu = UniqueHandle<HMENU, MenuTraits>;
using ImageList = UniqueHandle<HIMAGELIST, ImageListTraits>;
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

// An image list from a bitmap resource of images `width` pixels wide, `maskColour` transparent.
inline ImageList LoadImageList(HINSTANCE instance, int bitmapId, int width, int grow, COLORREF maskColour) {
    return ImageList(ImageList_LoadImageA(instance, MAKEINTRESOURCEA(bitmapId), width, grow, maskColour, IMAGE_BITMAP,
                                          LR_CREATEDIBSECTION));
}

}  // namespace winapp
