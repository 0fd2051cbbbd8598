// linkwait: waits, without a window, until the internet can be reached, and then starts the
// monitor from its own folder once. It runs only when the monitor's option asks for it.
#include <windows.h>

#include "watcher_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    linkwait::WatcherApp app;
    return app.Run();
}
