// The in-memory copy of the history file, with the operations that change it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "calendar_date.h"
#include "day_record.h"
#include "file_system.h"

namespace history {

struct DayTotals {
    double downloadBytes = 0;
    double uploadBytes = 0;
    double onlineSeconds = 0;
};

// One store serves one refresh or one command: construct (which refreshes the backup), OpenFile,
// Load, then read `records`, or change and save, or SumDay; finally CloseFile. The file is held
// open only during one operation.
class HistoryStore {
public:
    // The slot that holds the file's path takes at most this many characters.
    static constexpr std::size_t kMaxPathLength = 255;
    // More records than this (2 GiB of file) are not a history; Load refuses them.
    static constexpr std::size_t kMaxRecords = std::size_t{1} << 26;

    explicit HistoryStore(std::string path, FileSystem& files = RealFileSystem());
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Opens the file for binary update ("rb+"), creating it empty ("wb+") when that fails.
    bool OpenFile();
    // Reads every whole record of the file into `records` and closes the stream. False, with
    // `records` unchanged, when the file cannot be opened or created, or is too large to hold.
    bool Load();
    // Writes all records. The new content goes to a new file beside the live one, which then takes
    // the live file's place in one step: on any failure the file keeps its old content, `records`
    // stay as they are, and the result is false.
    bool Save();
    void CloseFile();

    // Remove every record whose stored fields equal the given ones (months are not normalised),
    // keeping the order of the rest, then Save, also when nothing matched.
    bool DeleteByYear(int year);
    bool DeleteByMonth(int year, int month);
    bool DeleteByDay(int year, int month, int day);
    // Gives every record of the date the new volumes (seconds stay), then Save.
    bool SetDayVolumes(int year, int month, int day, double downloadBytes, double uploadBytes);
    // Totals of the records of a date (months normalised); seconds count only when 0 < s < 86400.
    bool SumDay(const CalendarDate& date, DayTotals& totals) const;

    const std::string& path() const { return path_; }

    std::vector<DayRecord> records;

private:
    template <typename Match>
    bool DeleteWhere(Match match);

    std::string path_;
    FileSystem& files_;
    std::FILE* stream_ = nullptr;
};

// Reads a history file as Load does, but never creates it and never touches the backup.
bool ReadHistoryFile(const std::string& path, std::vector<DayRecord>& records, FileSystem& files = RealFileSystem());

}  // namespace history
