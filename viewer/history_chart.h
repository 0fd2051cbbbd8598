// The bars of the viewer's chart of a year (its accounting months) or of an accounting month (its
// days), taken from the same rows of the history summary that the tree shows, so that the chart
// and the tree agree on every sum.
#pragma once

#include <string>
#include <vector>

#include "history_summary.h"

namespace viewer {

struct ChartBar {
    std::string label;  // the short month name, or the day number
    double downloadBytes = 0;
    double uploadBytes = 0;
    bool hasRecords = false;  // the tree shows at least one day for it
    bool sunday = false;
    bool marked = false;  // the day whose row the chart was opened from
};

struct HistoryChart {
    enum class Kind { kYear, kMonth };
    Kind kind = Kind::kYear;
    int year = 0;
    int month = 0;  // a month chart's accounting month is named after this month (1..12)
    std::vector<ChartBar> bars;

    bool HasRecords() const;
};

// The chart of a row of the tree, as it was right-clicked: its level, its four column texts and its
// position among the summary rows (a hint; the texts decide). A year row charts the twelve months
// of its year, each bar the sum of the days the tree shows under that month's rows. A month row
// charts one bar per calendar day of its accounting month (as `startDay` makes it, widened to the
// days the tree shows under it, and never past the year's end); a day row charts its month with
// itself marked, a sum row the month it closes. A row that is no longer there gives no bars.
HistoryChart BuildHistoryChart(const history::HistorySummary& summary, int level, const std::string (&texts)[4],
                               int item, int startDay);

}  // namespace viewer
