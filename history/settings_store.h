// The monitor's settings file, loaded once at start-up and read-only afterwards.
#pragma once

#include <cstddef>
#include <string>

namespace history {

// One value per key of section "Settings", named like the key.
struct MonitorSettings {
#define SETTING_INT(member, key, def) int member = def;
#define SETTING_TEXT(member, key, size, def) char member[size] = def;
#include "settings_keys.def"
#undef SETTING_INT
#undef SETTING_TEXT
};

// How many keys the record holds, and of which kind.
constexpr int kIntegerSettingCount = 0
#define SETTING_INT(member, key, def) +1
#define SETTING_TEXT(member, key, size, def)
#include "settings_keys.def"
#undef SETTING_INT
#undef SETTING_TEXT
    ;
constexpr int kTextSettingCount = 0
#define SETTING_INT(member, key, def)
#define SETTING_TEXT(member, key, size, def) +1
#include "settings_keys.def"
#undef SETTING_INT
#undef SETTING_TEXT
    ;

// The running program's folder with `fileName` appended (empty folder if the system cannot tell).
std::string SettingsFilePath(const char* fileName);

// One key of section "Settings" of the settings file beside the running program.
int ReadSettingInt(const char* key, int defaultValue);
std::size_t ReadSettingText(const char* key, const char* defaultValue, char* buffer, std::size_t size);

// Reads every key, in the order of the monitor's list, with its default. The first form reads the
// settings file beside the running program; the second an explicitly named file.
MonitorSettings LoadMonitorSettings();
MonitorSettings LoadMonitorSettingsFrom(const std::string& path);

// The settings of this run: loaded once at start-up, read by the formatting and the summary.
const MonitorSettings& CurrentSettings();
void SetCurrentSettings(const MonitorSettings& settings);

}  // namespace history
