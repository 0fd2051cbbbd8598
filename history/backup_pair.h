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
    // file (after a deletion, or damage) never replaces the backup, and a failed copy leaves it
    // whole. False only for an empty path; a failed copy is not reported.
    bool UpdateBackup();
    // Copies the backup over the live file; whether the copy succeeded. On failure the live file
    // keeps its content and `error` (where given) is the failing call's system error code.
    bool RestoreFromBackup(unsigned long* error = nullptr);

    std::string liveFile;
    std::string backupFile;

private:
    bool CopyReplacing(const std::string& from, const std::string& to, unsigned long* error);

    FileSystem& files_;
};

}  // namespace history
