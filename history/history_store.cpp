#include "history_store.h"

#include <algorithm>
#include <new>

#include "backup_pair.h"
#include "monitor_contract.h"

namespace history {
namespace {

// Records go through the stream in blocks of this many.
constexpr std::size_t kBlockRecords = 2048;

// Reads every whole record of an open stream. Record i is the 32 bytes at offset 32 * i; a record
// that a short read does not reach stays zero-filled. False when the size cannot be taken or the
// records cannot be held; `records` is then unchanged.
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
    for (std::size_t first = 0; first < loaded.size(); first += kBlockRecords) {
        const std::size_t wanted = std::min(kBlockRecords, loaded.size() - first);
        const std::size_t got = files.Read(stream, block.data(), wanted * kDayRecordSize) / kDayRecordSize;
        for (std::size_t i = 0; i < got; ++i)
            loaded[first + i] = DecodeDayRecord(block.data() + i * kDayRecordSize);
        if (got < wanted) {
            if (std::ferror(stream))
                return false;  // unreadable, not merely shorter than it was
            break;             // the file shrank meanwhile
        }
    }
    records.swap(loaded);
    return true;
}

}  // namespace

HistoryStore::HistoryStore(std::string path, FileSystem& files) : path_(std::move(path)), files_(files) {
    BackupPair(path_, path_ + monitor::kHistoryBackupSuffix, files_).UpdateBackup();
}

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
    return ok;
}

bool HistoryStore::Save() {
    CloseFile();
    if (path_.empty() || path_.size() > kMaxPathLength)
        return false;
    const std::string fresh = path_ + ".new";
    std::FILE* out = files_.Open(fresh, "wb");
    if (out == nullptr)
        return false;
    bool ok = true;
    std::vector<unsigned char> block(kBlockRecords * kDayRecordSize);
    for (std::size_t first = 0; ok && first < records.size(); first += kBlockRecords) {
        const std::size_t count = std::min(kBlockRecords, records.size() - first);
        for (std::size_t i = 0; i < count; ++i)
            EncodeDayRecord(records[first + i], block.data() + i * kDayRecordSize);
        ok = files_.Write(out, block.data(), count * kDayRecordSize);
    }
    ok = ok && files_.Flush(out);
    ok = files_.Close(out) && ok;
    ok = ok && files_.Replace(fresh, path_);
    if (!ok)
        files_.Remove(fresh);
    return ok;
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

bool HistoryStore::SumDay(const CalendarDate& date, DayTotals& totals) const {
    totals = DayTotals();
    bool found = false;
    for (const DayRecord& r : records) {
        CalendarDate recordDate(r.day, 0, r.year);
        recordDate.SetMonthNormalized(r.month);
        if (!recordDate.Equals(date))
            continue;
        found = true;
        totals.downloadBytes += r.downloadBytes;
        totals.uploadBytes += r.uploadBytes;
        if (r.onlineSeconds > 0 && r.onlineSeconds < 86400)
            totals.onlineSeconds += r.onlineSeconds;
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
