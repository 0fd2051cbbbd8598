#include "watcher_app.h"

#include <cstdlib>
#include <string>

#include "monitor_contract.h"
#include "registry_key.h"
#include "watcher.h"

#ifndef LINKWAIT_PROBE_ADDRESS
// A site that answers whenever the internet does.
#define LINKWAIT_PROBE_ADDRESS "http://www.wikipedia.org/"
#endif

namespace linkwait {
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

std::optional<int> WatcherApp::InitInstance() {
    // Where the watcher is not to run, it ends at once, without a window and without a message.
    std::string folder;
    if (!ReadInstallFolder(folder))
        return 0;
    const std::string settings = SettingsPathOf(folder);
    if (GetPrivateProfileIntA(monitor::kSettingsSection, "g_m_AutoStartCheck", 0, settings.c_str()) == 0)
        return 0;

    window_ =
        std::make_unique<WatcherWindow>(__argv != nullptr && __argv[0] != nullptr ? __argv[0] : "", ProbeAddress());
    if (!window_->Create())
        return 1;
    setMainWindow(window_.get());
    return std::nullopt;
}

int WatcherApp::ExitInstance(int) {
    // The window's code, whatever ended the loop: 1 when the monitor could not be started.
    setMainWindow(nullptr);
    return window_->exitCode();
}

}  // namespace linkwait
