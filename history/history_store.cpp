#include "history_store.h"

#include <algorithm>
#include <new>

#include "backup_pair.h"
#include "monitor_contract.h"
#include "possible_volume.h"

namespace history {
namespace {

// Records go through the stream in blocks of this many.
constexpr std::size_t kBlockRecords = 2048;

// Reads every whole record of an open stream. Record i is the 32 bytes at offset 32 * i. A file
// that shrinks while it is read yields the records that were there. False when the size cannot be
// taken, the records cannot be held or the stream fails; `records` is then unchanged.
bool ReadRecords(FileSystem& files, std::FILE* stream, std::vector<DayRecord>& records) {
    const std::int64_t size = files.Size(stream);
    if (size < 0)
        return false;
    const std::uint64_t count = static_cast<std::uint64_t>(size) / kDayRecordSize;
    if (count > HistoryStore::kMaxRecords)
        return false;
    std::vector<DayRecord> loaded;
    std::vector<unsigned char> block;
    try {
        loaded.resize(static_cast<std::size_t>(count));
        block.resize(kBlockRecords * kDayRecordSize);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!files.SeekTo(stream, 0))
        return false;
    std::size_t read = 0;
    while (read < loaded.size()) {
        const std::size_t wanted = std::min(kBlockRecords, loaded.size() - read);
        const std::size_t got = files.Read(stream, block.data(), wanted * kDayRecordSize) / kDayRecordSize;
        for (std::size_t i = 0; i < got; ++i)
            loaded[read + i] = DecodeDayRecord(block.data() + i * kDayRecordSize);
        read += got;
        if (got < wanted) {
            if (std::ferror(stream))
                return false;  // unreadable, not merely shorter than it was
            break;             // the file shrank meanwhile
        }
    }
    loaded.resize(read);
    records.swap(loaded);
    return true;
}

}  // namespace

HistoryStore::HistoryStore(std::string path, FileSystem& files) : path_(std::move(path)), files_(files) {}

HistoryStore::~HistoryStore() {
    CloseFile();
}

bool HistoryStore::OpenFile() {
    if (stream_ != nullptr)
        return true;
    if (path_.empty() || path_.size() > kMaxPathLength)
        return false;
    stream_ = files_.Open(path_, "rb+");
    if (stream_ == nullptr)
        stream_ = files_.Open(path_, "wb+");
    return stream_ != nullptr;
}

bool HistoryStore::Load() {
    if (stream_ == nullptr && !OpenFile())
        return false;
    const bool ok = ReadRecords(files_, stream_, records);
    CloseFile();
    if (ok)
        RefreshBackup();
    return ok;
}

HistoryStore::ReadResult HistoryStore::LoadForReading() {
    CloseFile();
    if (path_.empty() || path_.size() > kMaxPathLength)
        return ReadResult::kNotCreated;
    std::FILE* stream = files_.Open(path_, "rb");
    if (stream == nullptr) {
        if (files_.Exists(path_))
            return ReadResult::kUnreadable;
        std::FILE* created = files_.Open(path_, "wb");
        if (created == nullptr)
            return ReadResult::kNotCreated;
        files_.Close(created);
        records.clear();
        return ReadResult::kLoaded;
    }
    const bool ok = ReadRecords(files_, stream, records);
    files_.Close(stream);
    if (!ok)
        return ReadResult::kUnreadable;
    RefreshBackup();
    return ReadResult::kLoaded;
}

// Only a file that was just read as a history may become the backup: one too large to hold, or
// one that could not be read, would take the place of the good copy.
void HistoryStore::RefreshBackup() {
    BackupPair(path_, path_ + monitor::kHistoryBackupSuffix, files_).UpdateBackup();
}

bool HistoryStore::Save() {
    CloseFile();
    lastError_ = 0;
    if (path_.empty() || path_.size() > kMaxPathLength)
        return false;
    // The platform may let a privileged process replace a write-protected file; the user's
    // protection holds all the same.
    if (files_.IsReadOnly(path_))
        return false;
    return ReplaceWithNewFile(
        files_, path_, path_ + ".new",
        [this](std::FILE* out) {
            std::vector<unsigned char> block(kBlockRecords * kDayRecordSize);
            for (std::size_t first = 0; first < records.size(); first += kBlockRecords) {
                const std::size_t count = std::min(kBlockRecords, records.size() - first);
                for (std::size_t i = 0; i < count; ++i)
                    EncodeDayRecord(records[first + i], block.data() + i * kDayRecordSize);
                if (!files_.Write(out, block.data(), count * kDayRecordSize))
                    return false;
            }
            return true;
        },
        &lastError_);
}

void HistoryStore::CloseFile() {
    if (stream_ == nullptr)
        return;
    files_.Close(stream_);
    stream_ = nullptr;
}

template <typename Match>
bool HistoryStore::DeleteWhere(Match match) {
    records.erase(std::remove_if(records.begin(), records.end(), match), records.end());
    return Save();
}

bool HistoryStore::DeleteByYear(int year) {
    return DeleteWhere([=](const DayRecord& r) { return r.year == year; });
}

bool HistoryStore::DeleteByMonth(int year, int month) {
    return DeleteWhere([=](const DayRecord& r) { return r.year == year && r.month == month; });
}

bool HistoryStore::DeleteByDay(int year, int month, int day) {
    return DeleteWhere([=](const DayRecord& r) { return r.year == year && r.month == month && r.day == day; });
}

bool HistoryStore::SetDayVolumes(int year, int month, int day, double downloadBytes, double uploadBytes) {
    for (DayRecord& r : records) {
        if (r.year == year && r.month == month && r.day == day) {
            r.downloadBytes = downloadBytes;
            r.uploadBytes = uploadBytes;
        }
    }
    return Save();
}

bool HistoryStore::DeleteRecordsAt(const std::vector<std::size_t>& positions) {
    std::size_t kept = 0, next = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        while (next < positions.size() && positions[next] < i)
            ++next;
        if (next < positions.size() && positions[next] == i)
            continue;
        records[kept++] = records[i];
    }
    records.resize(kept);
    return Save();
}

bool HistoryStore::SetTotalsAt(const std::vector<std::size_t>& positions, const double* downloadBytes,
                               const double* uploadBytes) {
    bool first = true;
    for (std::size_t position : positions) {
        if (position >= records.size())
            continue;
        DayRecord& r = records[position];
        if (downloadBytes != nullptr)
            r.downloadBytes = first ? *downloadBytes : 0.0;
        if (uploadBytes != nullptr)
            r.uploadBytes = first ? *uploadBytes : 0.0;
        first = false;
    }
    return Save();
}

bool HistoryStore::SumDay(const CalendarDate& date, DayTotals& totals) const {
    totals = DayTotals();
    bool found = false;
    for (const DayRecord& r : records) {
        if (!CalendarDate::OfStored(r.year, r.month, r.day).Equals(date))
            continue;
        found = true;
        if (IsPossibleVolume(r.downloadBytes))
            totals.downloadBytes += r.downloadBytes;
        if (IsPossibleVolume(r.uploadBytes))
            totals.uploadBytes += r.uploadBytes;
        totals.onlineSeconds += CountedOnlineSeconds(r.onlineSeconds);
    }
    return found;
}

bool ReadHistoryFile(const std::string& path, std::vector<DayRecord>& records, FileSystem& files) {
    std::FILE* stream = files.Open(path, "rb");
    if (stream == nullptr)
        return false;
    const bool ok = ReadRecords(files, stream, records);
    files.Close(stream);
    return ok;
}

}  // namespace history
