// linkwait: waits, without a window, until the internet can be reached, then starts the monitor
// once (from its own folder, else from the registered one) and ends. It runs only when the
// monitor's option asks for it, and not while the monitor or another watcher runs.
#include <windows.h>

#include "watcher_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    linkwait::WatcherApp app;
    return app.Run();
}
