// The menu demo: a frame with styled menus. `menudemo [STYLE]` opens it in that style (default 2).
#include <windows.h>

#include <cstdlib>

#include "demo_frame.h"
#include "menu_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int show) {
    if (!menus::InstallMenuHook())
        return 1;
    int result = 1;
    {
        menudemo::DemoFrame frame;
        if (frame.Create()) {
            if (commandLine != nullptr && *commandLine != '\0')
                frame.UseStyle(std::atoi(commandLine));
            ShowWindow(frame.hwnd(), show);
            UpdateWindow(frame.hwnd());
            result = winapp::FrameWindow::RunMessageLoop(frame.hwnd(), frame.accelerators());
        }
    }
    menus::RemoveMenuHook();
    return result;
}
