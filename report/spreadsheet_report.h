// The report of one accounting month: one line per record of the period in file order, and a
// totals line, on the first worksheet of a new workbook that is left open for the user.
#pragma once

#include <string>
#include <vector>

#include "day_record.h"
#include "report_table.h"
#include "spreadsheet_operations.h"

namespace report {

// How a whole report ended.
enum class ReportOutcome {
    kShown,              // the sheet is the user's
    kNotStarted,         // the application could not be started (and has said so)
    kHistoryUnreadable,  // shown with no lines: the history is there but could not be read
};

// The whole report: starts the application, reads the history at `historyPath` afresh (which
// refreshes its backup; reading needs no write access), writes the sheet and hands it to the user.
// Errors of the application propagate.
ReportOutcome BuildSpreadsheetReport(SpreadsheetOperations& sheet, int level, const std::string (&texts)[4],
                                     int startDay, const std::string& historyPath, CaptionLoader caption);

// The part after the start, on records already read: columns, header, lines and totals.
void WriteReport(SpreadsheetOperations& sheet, const ReportPeriod& period,
                 const std::vector<history::DayRecord>& records, CaptionLoader caption);

}  // namespace report
