// The report of one accounting month as rows of texts: the title with the period, the captions, one
// line per record of the period in file order, and the totals. The worksheet and the CSV file are
// both written from it, so they hold the same values in the same order.
#pragma once

#include <string>
#include <vector>

#include "calendar_date.h"
#include "day_record.h"

namespace report {

inline constexpr const char kReportTitle[] = "Lumetra Report";

struct ReportPeriod {
    history::CalendarDate start;  // inclusive
    history::CalendarDate end;    // inclusive
    std::string label;            // the text of F1
    history::CalendarDate month;  // the chosen month, on its first day
};

// The period of a row, an accounting month (history::AccountingMonthNamed): a month row's (level 1)
// is the one that begins in its period label (column 3, "MM/YYYY"), a day row's (level 2) the one
// that holds its day (column 0, in the active date style), labelled MM/YYYY as that month's row.
// A sum row's label reads as month 0 of year 0.
ReportPeriod ReportPeriodOf(int level, const std::string (&texts)[4], int startDay);

// Gives the caption of a string ID in the active language.
using CaptionLoader = std::string (*)(int id);

// One line of the report: a record's, or the totals with an empty date.
struct ReportLine {
    std::string date;
    std::string download;
    std::string upload;
    std::string both;  // upload plus download
    std::string online;
};

struct ReportTable {
    std::string title;
    std::string periodLabel;
    // Date, download, upload, up and download, online time.
    std::string captions[5];
    std::vector<ReportLine> lines;
    bool hasTotals = false;  // only when both volume totals are non-zero
    ReportLine totals;
};

ReportTable BuildReportTable(const ReportPeriod& period, const std::vector<history::DayRecord>& records,
                             CaptionLoader caption);

}  // namespace report
