#include <windows.h>

#include "menu_window.h"
#include "viewer_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The menu library's hook is in force before the application object and its first window:
    // every popup menu of the viewer gets the flat frame and, where the system draws none, a shadow.
    if (!menus::InstallMenuHook())
        return 1;
    int result;
    {
        viewer::ViewerApp app;
        result = app.Run();
    }
    menus::RemoveMenuHook();
    return result;
}
