// linkwait: waits, without a window, until the internet can be reached, and then starts the
// monitor from its own folder once. It runs only when the monitor's option asks for it.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "monitor_contract.h"
#include "registry_key.h"
#include "watcher.h"
#include "watcher_window.h"

#ifndef LINKWAIT_PROBE_ADDRESS
// A site that answers whenever the internet does.
#define LINKWAIT_PROBE_ADDRESS "http://www.wikipedia.org/"
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    winapp::RegistryKey key;  // closed on every way out
    if (!key.OpenKey(HKEY_LOCAL_MACHINE, std::string(monitor::kRegistryKey) + "\\"))
        return 0;
    std::string folder;
    key.ReadStringValue(monitor::kRegistryPathValue, folder);
    const std::string settings = linkwait::SettingsPathOf(folder);
    if (GetPrivateProfileIntA(monitor::kSettingsSection, "g_m_AutoStartCheck", 0, settings.c_str()) == 0)
        return 0;

    linkwait::WatcherWindow window(__argv != nullptr && __argv[0] != nullptr ? __argv[0] : "", LINKWAIT_PROBE_ADDRESS);
    if (!window.Create())
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
