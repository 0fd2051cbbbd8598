// The menu demo: a frame with styled menus. `menudemo [STYLE]` opens it in that style (default 2).
#include <windows.h>

#include "demo_app.h"
#include "menu_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int show) {
    // As in the viewer: the menu hook is in force before the application object and its first window.
    if (!menus::InstallMenuHook())
        return 1;
    int result;
    {
        menudemo::DemoApp app(commandLine != nullptr ? commandLine : "", show);
        result = app.Run();
    }
    menus::RemoveMenuHook();
    return result;
}
