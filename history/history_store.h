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

// One store serves one refresh or one command: construct, OpenFile, Load (which refreshes the
// backup once the file has been read), then read `records`, or change and save, or SumDay; finally
// CloseFile. The file is held open only during one operation.
class HistoryStore {
public:
    // The slot that holds the file's path takes at most this many characters.
    static constexpr std::size_t kMaxPathLength = 255;
    // More records than a 32-bit viewer can hold together with their rows; Load refuses them. At
    // the peak of a fill each record costs about 370 bytes in a 32-bit process (itself 32, its
    // summary row about 146 with its record range and the summary's spare room, its tree item 36
    // and the item's texts 128 on the heap): 1.2 GiB at this limit (a 112 MB file), which leaves
    // room in 2 GiB of address space.
    static constexpr std::size_t kMaxRecords = 3500000;

    // How a read without write access ended.
    enum class ReadResult {
        kLoaded,      // the records are read (a missing file was created empty where it could be)
        kNotCreated,  // the file is missing and cannot be created: no records
        kUnreadable,  // the file is there but cannot be read or held: `records` unchanged
    };

    explicit HistoryStore(std::string path, FileSystem& files = RealFileSystem());
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Opens the file for binary update ("rb+"), creating it empty ("wb+") when that fails.
    bool OpenFile();
    // Reads every whole record of the file into `records` and closes the stream, then refreshes
    // the backup from it. False, with `records` and the backup unchanged, when the file cannot be
    // opened or created, or read, or is too large to hold.
    bool Load();
    // Reads the file as Load does, but asks for read access only, so that a read-only file, or one
    // that another program holds open for reading, is read in full. A missing file is created empty
    // as OpenFile does, where it can be.
    ReadResult LoadForReading();
    // Writes all records. The new content goes to a new file beside the live one, which then takes
    // the live file's place in one step: on any failure the file keeps its old content, `records`
    // stay as they are, and the result is false. A file with the read-only attribute is never
    // replaced.
    bool Save();
    // The system's error code of the call that made the last Save fail; 0 when none is known.
    unsigned long lastError() const { return lastError_; }
    void CloseFile();

    // Remove every record whose stored fields equal the given ones (months are not normalised),
    // keeping the order of the rest, then Save, also when nothing matched.
    bool DeleteByYear(int year);
    bool DeleteByMonth(int year, int month);
    bool DeleteByDay(int year, int month, int day);
    // Gives every record of the date the new volumes (seconds stay), then Save.
    bool SetDayVolumes(int year, int month, int day, double downloadBytes, double uploadBytes);
    // Totals of the records of a date (months normalised): their possible volumes, and their seconds
    // of 0..86400.
    bool SumDay(const CalendarDate& date, DayTotals& totals) const;

    // The viewer's commands act on the records of the row they were chosen on, by their positions
    // in `records` (ascending). The records kept are written back unchanged. Each saves, also when
    // nothing matched.
    bool DeleteRecordsAt(const std::vector<std::size_t>& positions);
    // Makes typed totals the row's new volumes: the first of its records gets them, its other
    // records none; a column given no total (null) keeps its stored values, and seconds stay.
    bool SetTotalsAt(const std::vector<std::size_t>& positions, const double* downloadBytes, const double* uploadBytes);

    const std::string& path() const { return path_; }

    std::vector<DayRecord> records;

private:
    template <typename Match>
    bool DeleteWhere(Match match);
    void RefreshBackup();

    std::string path_;
    FileSystem& files_;
    std::FILE* stream_ = nullptr;
    unsigned long lastError_ = 0;
};

// Reads a history file as Load does, but never creates it and never touches the backup.
bool ReadHistoryFile(const std::string& path, std::vector<DayRecord>& records, FileSystem& files = RealFileSystem());

}  // namespace history
