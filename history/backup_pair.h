// The history file and its backup copy, which keeps the largest state seen.
#pragma once

#include <string>

#include "file_system.h"

namespace history {

class BackupPair {
public:
    BackupPair(std::string liveFile, std::string backupFile, FileSystem& files = RealFileSystem())
        : liveFile(std::move(liveFile)), backupFile(std::move(backupFile)), files_(files) {}

    // Copies the live file over the backup when the live file is strictly larger. A shrunken live
    // file (after a deletion, or damage) never replaces the backup. False only for an empty path;
    // a failed copy is not reported.
    bool UpdateBackup();
    // Copies the backup over the live file; whether the copy succeeded. On failure the live file
    // keeps its content.
    bool RestoreFromBackup();

    std::string liveFile;
    std::string backupFile;

private:
    FileSystem& files_;
};

}  // namespace history
