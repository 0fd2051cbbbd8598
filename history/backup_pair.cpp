#include "backup_pair.h"

namespace history {

bool BackupPair::UpdateBackup() {
    if (liveFile.empty() || backupFile.empty())
        return false;
    const std::int64_t backupSize = files_.ExclusiveSize(backupFile);
    const std::int64_t liveSize = files_.ExclusiveSize(liveFile);
    if (liveSize > backupSize)
        files_.Copy(liveFile, backupFile);
    return true;
}

bool BackupPair::RestoreFromBackup() {
    return files_.Copy(backupFile, liveFile);
}

}  // namespace history
