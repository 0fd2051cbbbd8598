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
    // Into a new file beside the live one, which then takes its place in one step: a copy that
    // fails half-way leaves the history as it was.
    const std::string fresh = liveFile + ".new";
    if (files_.Copy(backupFile, fresh) && files_.Replace(fresh, liveFile))
        return true;
    files_.Remove(fresh);
    return false;
}

}  // namespace history
