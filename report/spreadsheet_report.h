// The report of one accounting month: one line per record of the period in file order, and a
// totals line, on the first worksheet of a new workbook that is left open for the user.
#pragma once

#include <string>
#include <vector>

#include "calendar_date.h"
#include "day_record.h"
#include "spreadsheet_operations.h"

namespace report {

inline constexpr const char kReportTitle[] = "Lumetra Report";

struct ReportPeriod {
    history::CalendarDate start;  // inclusive
    history::CalendarDate end;    // inclusive
    std::string label;            // the text of F1
};

// The chosen month and period of a row: level 1 reads the period label (column 3, "MM/YYYY"),
// level 2 the day label (column 0) in the active date style. `startDay` begins the accounting month.
ReportPeriod ReportPeriodOf(int level, const std::string (&texts)[4], int startDay);

// Gives the caption of a string ID in the active language.
using CaptionLoader = std::string (*)(int id);

// The whole report: starts the application, reads the history at `historyPath` afresh (which
// refreshes its backup), writes the sheet and hands it to the user. Ends early, having shown its
// message, when the application cannot be started; errors of the application propagate.
void BuildSpreadsheetReport(SpreadsheetOperations& sheet, int level, const std::string (&texts)[4], int startDay,
                            const std::string& historyPath, CaptionLoader caption);

// The part after the start, on records already read: columns, header, lines and totals.
void WriteReport(SpreadsheetOperations& sheet, const ReportPeriod& period,
                 const std::vector<history::DayRecord>& records, CaptionLoader caption);

}  // namespace report
