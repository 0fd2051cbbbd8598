#include "watcher_app.h"

#include <cstdlib>
#include <string>

#include "language.h"
#include "monitor_contract.h"
#include "registry_key.h"
#include "resources.h"
#include "start_up.h"
#include "value_format.h"
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

// The language of the one box the watcher may show, chosen as the viewer chooses its own.
void ChooseLanguage() {
    winapp::RegistryKey key;
    if (key.OpenKey(HKEY_LOCAL_MACHINE, monitor::kLanguageKey)) {
        std::string text;
        key.ReadStringValue(monitor::kLanguageValue, text);
        history::SetLanguageIndex(history::DecimalPrefix(text));
    }
    const unsigned locale = viewer::LocaleOfLanguage(history::LanguageIndex());
    if (locale != 0)
        SetThreadLocale(MAKELCID(locale, SORT_DEFAULT));
    winapp::SetResourceLanguage(static_cast<LANGID>(viewer::ResourceLanguageOfLocale(GetThreadLocale())));
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

    // One watcher per session: a second one (two log-on entries, or one started by hand) ends at
    // once. A mutex that cannot be made leaves that unsure: the watcher ends as failed.
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, kWatcherMutexName);
    const DWORD made = GetLastError();
    watcherMutex_.Reset(mutex);
    if (mutex == nullptr)
        return made == ERROR_ACCESS_DENIED ? 0 : 1;
    if (made == ERROR_ALREADY_EXISTS)
        return 0;
    // A monitor that runs already needs no watcher.
    if (MonitorMutexExists())
        return 0;

    ChooseLanguage();
    window_ = std::make_unique<WatcherWindow>(__argv != nullptr && __argv[0] != nullptr ? __argv[0] : "", folder,
                                              ProbeAddress());
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
