#include <windows.h>

#include "viewer_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    viewer::ViewerApp app;
    return app.Run();
}
