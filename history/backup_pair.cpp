#include "backup_pair.h"

namespace history {

bool BackupPair::UpdateBackup() {
    if (liveFile.empty() || backupFile.empty())
        return false;
    const std::int64_t backupSize = files_.ExclusiveSize(backupFile);
    const std::int64_t liveSize = files_.ExclusiveSize(liveFile);
    if (liveSize > backupSize)
        CopyReplacing(liveFile, backupFile, nullptr);
    return true;
}

bool BackupPair::RestoreFromBackup(unsigned long* error) {
    // The user's write protection holds even where the platform would let the copy through.
    if (files_.IsReadOnly(liveFile)) {
        if (error != nullptr)
            *error = 0;
        return false;
    }
    return CopyReplacing(backupFile, liveFile, error);
}

// Into a new file beside the target, which then takes its place in one step: a copy that fails
// half-way leaves the target as it was.
bool BackupPair::CopyReplacing(const std::string& from, const std::string& to, unsigned long* error) {
    const std::string fresh = to + ".new";
    const bool ok = files_.Copy(from, fresh) && files_.Replace(fresh, to);
    const unsigned long failure = ok ? 0 : files_.LastError();
    if (!ok)
        files_.Remove(fresh);
    if (error != nullptr)
        *error = failure;
    return ok;
}

}  // namespace history
