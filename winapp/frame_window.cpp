#include "frame_window.h"

#include "dpi.h"

namespace winapp {
namespace {
const char kFrameClass[] = "LumetraFrame";
}

FrameWindow::~FrameWindow() {
    Destroy();
}

bool FrameWindow::Create(const char* title, HMENU menu, int width, int height, DWORD style) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kFrameClass;
    if (RegisterClassA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    return CreateWindowExA(0, kFrameClass, title, style, CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr, menu,
                           windowClass.hInstance, this) != nullptr;
}

void FrameWindow::Destroy() {
    if (hwnd_ != nullptr && IsWindow(hwnd_))
        DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

LRESULT CALLBACK FrameWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FrameWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = window;
    }
    auto* self = reinterpret_cast<FrameWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    bool handled = false;
    try {
        handled = self->DispatchToMap(message, wParam, lParam, result);
    } catch (...) {
        // No exception may cross the system's window procedure: the handler's work ends here.
        ShowHandlerFailure(window);
        handled = true;
        result = 0;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    if (!handled && message == kDpiChangedMessage) {
        // Moved to a monitor of another DPI, or the scaling changed: the window takes the place the
        // system suggests, which keeps its size in that monitor's terms.
        if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
            SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        DrawMenuBar(window);
        return 0;
    }
    return handled ? result : DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace winapp
