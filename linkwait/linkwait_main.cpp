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

namespace {

// The installation folder that the monitor's key names (empty without a "Path" value); false
// without the key. The key is closed again here: the watcher may run for a whole session.
bool ReadInstallFolder(std::string& folder) {
    winapp::RegistryKey key;
    if (!key.OpenKey(HKEY_LOCAL_MACHINE, std::string(monitor::kRegistryKey) + "\\"))
        return false;
    key.ReadStringValue(monitor::kRegistryPathValue, folder);
    key.CloseKey();
    return true;
}

std::string ProbeAddress() {
#ifdef LINKWAIT_PROBE_ADDRESS_VARIABLE
    // The test build probes the local server that its test names, on a port free at the time.
    const char* address = std::getenv(LINKWAIT_PROBE_ADDRESS_VARIABLE);
    if (address != nullptr && *address != '\0')
        return address;
#endif
    return LINKWAIT_PROBE_ADDRESS;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string folder;
    if (!ReadInstallFolder(folder))
        return 0;
    const std::string settings = linkwait::SettingsPathOf(folder);
    if (GetPrivateProfileIntA(monitor::kSettingsSection, "g_m_AutoStartCheck", 0, settings.c_str()) == 0)
        return 0;

    linkwait::WatcherWindow window(__argv != nullptr && __argv[0] != nullptr ? __argv[0] : "", ProbeAddress());
    if (!window.Create())
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return window.exitCode();
}
