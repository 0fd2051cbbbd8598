// What the companion programs rely on from the traffic monitor Lumetra.exe.
// The monitor is not built here; these are its marks, file names and registry entries.
#pragma once

namespace monitor {

// The monitor's history of daily traffic and its backup copy, relative to the installation folder.
inline constexpr const char kHistoryFile[] = "data\\volume.hst";
inline constexpr const char kHistoryBackupSuffix[] = "_backup";
inline constexpr const char kHistoryBackupFile[] = "data\\volume.hst_backup";

// The monitor's options: in its installation folder, all keys in one section.
inline constexpr const char kSettingsFile[] = "lumetrapro.ini";
inline constexpr const char kSettingsSection[] = "Settings";

// While the monitor runs, this named mutex exists and its main window carries this window property.
inline constexpr const char kMutexName[] = "LumetraPro";
inline constexpr const char kWindowProperty[] = "LumetraPro";

// WM_COMMAND with this ID, sent synchronously to the monitor's main window, makes it quit.
inline constexpr unsigned kExitCommandId = 57665;

// HKEY_LOCAL_MACHINE: the installation key with the folder ("Path"), and its language subkey.
inline constexpr const char kRegistryKey[] = "SOFTWARE\\Verdanix\\LumetraProf";
inline constexpr const char kRegistryPathValue[] = "Path";
inline constexpr const char kLanguageKey[] = "SOFTWARE\\Verdanix\\LumetraProf\\Sprache";
inline constexpr const char kLanguageValue[] = "Language";

// The monitor program itself, started by the connection watcher from its own folder.
inline constexpr const char kMonitorProgram[] = "Lumetra.exe";

}  // namespace monitor
