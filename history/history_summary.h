// The history as rows of the viewer's tree: years, accounting months, days and month sums.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "calendar_date.h"
#include "day_record.h"

namespace history {

// Images of the viewer's small image list.
enum SummaryImage { kImageYear = 0, kImageMonth = 1, kImageSunday = 2, kImageDay = 3, kImageSum = 4 };
// Levels of the tree.
enum SummaryLevel { kLevelYear = 0, kLevelMonth = 1, kLevelDay = 2 };

struct SummaryRow {
    std::string text;
    int image = 0;
    int level = 0;
    // Download, upload, both, online time. An unset column stays unset in the list.
    std::string columns[4];
    bool columnSet[4] = {false, false, false, false};
    // The numbers behind the texts, for charts and exports: a day row's date, counted volumes and
    // online seconds (summed over the records it stands for), a sum row's totals, the date that
    // opened a month or year row. Only possible volumes count (IsPossibleVolume); a day row's texts
    // show its volumes as stored all the same.
    int year = 0, month = 0, day = 0;
    double downloadBytes = 0, uploadBytes = 0;
    std::int64_t onlineSeconds = 0;
    bool anyDownload = false, anyUpload = false;  // a day row counts at least one possible volume
    bool impossible = false;                      // a day row holds an impossible volume
    // The records the row shows: those in [firstRecord, endRecord) of the file that are not later
    // than the day the rows were made for. A year row's are those of every row under it, a month
    // row's those of its day rows, a day row's those it sums; a sum row shows none.
    std::size_t firstRecord = 0, endRecord = 0;

    void SetColumn(int index, std::string value) {
        columns[index] = std::move(value);
        columnSet[index] = true;
    }
};

struct HistorySummary {
    std::vector<SummaryRow> rows;
    std::size_t lastYearRow = 0;  // position of the last year row; 0 when there is none
    bool expand = false;          // the store held at least one record: the dialog expands lastYearRow
    // Day rows that hold an impossible volume, and the text of the first of them.
    std::size_t impossibleDays = 0;
    std::string firstImpossibleDay;
};

// One pass over the records in file order, never sorting. A month row opens at the first record of
// another month that opens an accounting month (OpensAccountingMonth), or right after a year row. Records of one date
// in a row make one day row that shows their sums; a year row is preceded by the Sum of the month it ends. Volume texts
// follow the current display mode, day texts the date style.
HistorySummary BuildHistorySummary(const std::vector<DayRecord>& records, const CalendarDate& today, int startDay);

// A row a user clicked, found again in rows read anew: the one at `hint` when `matches` still
// holds for it, else the first for which it holds; -1 when none does.
template <class Predicate>
int FindRowNear(const std::vector<SummaryRow>& rows, int hint, Predicate matches) {
    if (hint >= 0 && static_cast<std::size_t>(hint) < rows.size() && matches(rows[hint]))
        return hint;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (matches(rows[i]))
            return static_cast<int>(i);
    }
    return -1;
}

// Whether a row shows the record at `position` of the file the rows were made from, on `today`.
bool RowShowsRecord(const SummaryRow& row, const std::vector<DayRecord>& records, std::size_t position,
                    const CalendarDate& today);

}  // namespace history
