// A top-level frame window with a menu bar; its class's message map handles its messages, the
// default window procedure the rest.
#pragma once

#include "window.h"

namespace winapp {

class FrameWindow : public Window {
public:
    ~FrameWindow() override;

    // Creates the window (hidden) with `menu` as its menu bar.
    bool Create(const char* title, HMENU menu, int width, int height, DWORD style = WS_OVERLAPPEDWINDOW);
    void Destroy();

protected:
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const {
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace winapp
