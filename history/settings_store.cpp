#include "settings_store.h"

#include "module_path.h"
#include "monitor_contract.h"
#include "profile_reader.h"

namespace history {
namespace {

MonitorSettings g_settings;

// Reads all keys; `pathOf` gives the file's path for each key (built anew per key).
template <typename PathOf>
MonitorSettings LoadAll(PathOf pathOf) {
    MonitorSettings s;
#define SETTING_INT(member, key, def) s.member = ReadProfileInt(monitor::kSettingsSection, key, def, pathOf());
#define SETTING_TEXT(member, key, size, def) \
    ReadProfileString(monitor::kSettingsSection, key, def, s.member, sizeof s.member, pathOf());
#include "settings_keys.def"
#undef SETTING_INT
#undef SETTING_TEXT
    return s;
}

}  // namespace

std::string SettingsFilePath(const char* fileName) {
    return FolderOfPath(RunningProgramPath()) + fileName;
}

int ReadSettingInt(const char* key, int defaultValue) {
    return ReadProfileInt(monitor::kSettingsSection, key, defaultValue, SettingsFilePath(monitor::kSettingsFile));
}

std::size_t ReadSettingText(const char* key, const char* defaultValue, char* buffer, std::size_t size) {
    return ReadProfileString(monitor::kSettingsSection, key, defaultValue, buffer, size,
                             SettingsFilePath(monitor::kSettingsFile));
}

MonitorSettings LoadMonitorSettings() {
    return LoadAll([] { return SettingsFilePath(monitor::kSettingsFile); });
}

MonitorSettings LoadMonitorSettingsFrom(const std::string& path) {
    return LoadAll([&path] { return path; });
}

const MonitorSettings& CurrentSettings() {
    return g_settings;
}
void SetCurrentSettings(const MonitorSettings& settings) {
    g_settings = settings;
}

}  // namespace history
