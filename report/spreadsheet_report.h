// The report of one accounting month: one line per record of the period in file order, and a
// totals line, on the first worksheet of a new workbook that is left open for the user.
#pragma once

#include <string>
#include <vector>

#include "day_record.h"
#include "report_table.h"
#include "spreadsheet_operations.h"

namespace report {

// The whole report: starts the application, reads the history at `historyPath` afresh (which
// refreshes its backup), writes the sheet and hands it to the user. Ends early, having shown its
// message, when the application cannot be started; errors of the application propagate.
void BuildSpreadsheetReport(SpreadsheetOperations& sheet, int level, const std::string (&texts)[4], int startDay,
                            const std::string& historyPath, CaptionLoader caption);

// The part after the start, on records already read: columns, header, lines and totals.
void WriteReport(SpreadsheetOperations& sheet, const ReportPeriod& period,
                 const std::vector<history::DayRecord>& records, CaptionLoader caption);

}  // namespace report
