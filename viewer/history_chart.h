// The bars of the viewer's chart of a year (its accounting months) or of an accounting month (its
// days), taken from the same rows of the history summary that the tree shows, so that the chart
// and the tree agree on every sum.
#pragma once

#include <string>
#include <vector>

#include "allowance.h"
#include "accounting_month.h"
#include "calendar_date.h"
#include "history_summary.h"

namespace viewer {

struct ChartBar {
    std::string label;  // the short month name, or the day number
    std::string name;   // the bar's period in full: the tree's day text, or "November 2026"
    double downloadBytes = 0;
    double uploadBytes = 0;
    double onlineSeconds = 0;  // as the tree's day rows show it
    bool hasRecords = false;   // the tree shows at least one day for it
    bool sunday = false;
    bool marked = false;      // the day whose row the chart was opened from
    bool impossible = false;  // a day of it holds an impossible volume, which it leaves out
};

// Where the accounting month that holds today is heading: its total so far spread over the days
// elapsed (today included), times the days of the month.
struct ChartForecast {
    bool shown = false;
    std::size_t bar = 0;  // a year chart's bar of that month
    double soFar = 0;     // download and upload
    int elapsedDays = 0;
    int monthDays = 0;
    double Total() const { return elapsedDays > 0 ? soFar / elapsedDays * monthDays : 0; }
    double PerDay() const { return monthDays > 0 ? Total() / monthDays : 0; }
};

struct HistoryChart {
    enum class Kind { kYear, kMonth };
    Kind kind = Kind::kYear;
    int year = 0;
    int month = 0;  // a month chart's accounting month is named after this month (1..12)
    std::vector<ChartBar> bars;
    ChartForecast forecast;
    ChartAllowance allowance;  // set by the caller, who knows the allowance (ChartAllowanceOf)

    bool HasRecords() const;
    // The whole period: its volumes and online time, and how many bars the tree shows rows for.
    ChartBar Total() const;
    int BarsWithRecords() const;
};

// The chart of a row of the tree, as it was right-clicked: its level, its four column texts and its
// position among the summary rows (a hint; the texts decide). A year row charts the twelve months
// of its year, each bar the sum of the days the tree shows under that month's rows. A month row
// charts one bar per calendar day of its accounting month (as `startDay` makes it, widened to the
// days the tree shows under it, and never past the year's end); a day the calendar does not have
// (a 31 April) gets a bar of its own after the month's last day. A day row charts its month with
// itself marked, a sum row the month it closes. A row that is no longer there gives no bars. When
// `today` lies in the accounting month charted, or in a month of the year charted, the chart
// carries that month's forecast.
HistoryChart BuildHistoryChart(const history::HistorySummary& summary, int level, const std::string (&texts)[4],
                               int item, int startDay, const history::CalendarDate& today);

}  // namespace viewer
