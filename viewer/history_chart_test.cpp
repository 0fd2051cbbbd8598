#include "history_chart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "language.h"
#include "settings_store.h"
#include "test_files.h"
#include "value_format.h"

namespace viewer {
namespace {

using history::Day;
using history::DayRecord;

class HistoryChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        history::SetLanguageIndex(0);
        history::SetCurrentSettings(history::MonitorSettings{});
    }
    void TearDown() override { history::SetLanguageIndex(0); }

    // The chart of the first row with `text` (or, for month rows, the period label `text`), as a
    // right click on it would give it.
    HistoryChart ChartOf(const std::vector<DayRecord>& records, int startDay, const std::string& text,
                         int occurrence = 0) {
        summary_ = history::BuildHistorySummary(records, today_, startDay);
        for (std::size_t i = 0; i < summary_.rows.size(); ++i) {
            const history::SummaryRow& row = summary_.rows[i];
            if ((row.text == text || (row.level == 1 && row.columns[2] == text)) && occurrence-- == 0)
                return ChartOfRow(static_cast<int>(i), startDay);
        }
        ADD_FAILURE() << "no row " << text;
        return HistoryChart();
    }
    HistoryChart ChartOfRow(int index, int startDay, int hint = -2) {
        const history::SummaryRow& row = summary_.rows[index];
        const std::string texts[4] = {row.text, row.columns[0], row.columns[1], row.columns[2]};
        return BuildHistoryChart(summary_, row.level, texts, hint == -2 ? index : hint, startDay, today_);
    }

    // "label:download+upload" of every bar with records, "?" after the label of one that leaves an
    // impossible volume out, "*" after a marked and "!" after a Sunday one.
    static std::vector<std::string> Shown(const HistoryChart& chart) {
        std::vector<std::string> out;
        for (const ChartBar& bar : chart.bars) {
            if (!bar.hasRecords)
                continue;
            out.push_back(bar.label + (bar.impossible ? "?" : "") + ":" +
                          std::to_string(static_cast<long long>(bar.downloadBytes)) + "+" +
                          std::to_string(static_cast<long long>(bar.uploadBytes)) + (bar.marked ? "*" : "") +
                          (bar.sunday ? "!" : ""));
        }
        return out;
    }
    static std::string Axis(const HistoryChart& chart) {
        return chart.bars.empty() ? ""
                                  : chart.bars.front().label + ".." + chart.bars.back().label + " (" +
                                        std::to_string(chart.bars.size()) + ")";
    }

    history::CalendarDate today_{8, 12, 2026};
    history::HistorySummary summary_;
};

// A history of two and a half years with a few records a week: repeated days, one in the future.
std::vector<DayRecord> LongHistory() {
    std::vector<DayRecord> records;
    unsigned seed = 7;
    auto next = [&seed]() { return seed = seed * 1103515245u + 12345u, (seed >> 8) % 1000; };
    for (int year = 2024; year <= 2026; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= history::CalendarDate::DaysInMonth(month, year); day += 1 + next() % 4) {
                records.push_back(Day(year, month, day, 1e6 * next(), 1e4 * next(), 60));
                if (next() < 50)
                    records.push_back(Day(year, month, day, 5e8, 5e8));  // the tree shows only the first
            }
        }
    }
    records.push_back(Day(2026, 12, 20, 9e9, 9e9));  // after today
    return records;
}

TEST_F(HistoryChartTest, AYearsBarsAreTheSumsOfItsAccountingMonths) {
    const std::vector<DayRecord> records = LongHistory();
    for (int startDay : {1, 15}) {
        const HistoryChart chart = ChartOf(records, startDay, "2025");
        EXPECT_EQ(chart.kind, HistoryChart::Kind::kYear);
        EXPECT_EQ(chart.year, 2025);
        ASSERT_EQ(chart.bars.size(), 12u);
        EXPECT_EQ(chart.bars[2].label, "M\344r");
        EXPECT_EQ(chart.bars[2].name, "M\344rz 2025");
        // Every sum row of 2025 closes its month row's month: the bar shows the same totals.
        int month = 0, sums = 0;
        bool in2025 = false;
        for (const history::SummaryRow& row : summary_.rows) {
            if (row.level == 0)
                in2025 = row.text == "2025";
            else if (in2025 && row.level == 1)
                month = row.month;
            else if (in2025 && row.text == "Sum") {
                const ChartBar& bar = chart.bars[month - 1];
                EXPECT_EQ(history::FormatVolume(bar.downloadBytes, false), row.columns[0]) << month;
                EXPECT_EQ(history::FormatVolume(bar.uploadBytes, false), row.columns[1]) << month;
                EXPECT_EQ(history::FormatDuration(static_cast<std::int64_t>(bar.onlineSeconds)), row.columns[3]);
                ++sums;
            }
        }
        EXPECT_EQ(sums, 12);  // December too is closed by a sum row before the next year
        EXPECT_TRUE(chart.bars[11].hasRecords);
    }
    history::SetLanguageIndex(1);
    EXPECT_EQ(ChartOf(records, 1, "2026").bars[9].label, "Okt");  // the English table's own spelling
}

TEST_F(HistoryChartTest, AMonthsDaysOnTheAccountingMonth) {
    struct Case {
        std::vector<DayRecord> records;
        int startDay;
        std::string row;
        int occurrence;
        std::string axis;
        std::vector<std::string> shown;
    } cases[] = {
        {{Day(2004, 5, 1, 1, 2), Day(2004, 5, 2, 3, 4), Day(2004, 5, 31, 5, 6), Day(2004, 6, 1, 7, 8)},
         1,
         "05/2004",
         0,
         "1..31 (31)",
         {"1:1+2", "2:3+4!", "31:5+6"}},
        // The accounting month from the 15th; June's first days still belong to May.
        {{Day(2004, 5, 20, 1, 1), Day(2004, 6, 10, 2, 2), Day(2004, 6, 20, 3, 3)},
         15,
         "05/2004",
         0,
         "15..14 (31)",
         {"20:1+1", "10:2+2"}},
        // Gaps keep the month open until a day at or after the 15th.
        {{Day(2004, 5, 20, 1, 1), Day(2004, 6, 10, 2, 2), Day(2004, 7, 5, 3, 3), Day(2004, 7, 20, 4, 4)},
         15,
         "05/2004",
         0,
         "15..5 (52)",
         {"20:1+1", "10:2+2", "5:3+3"}},
        // January begins with its year, as the year row opens it; the month before ends with its year.
        {{Day(2003, 12, 20, 1, 1), Day(2004, 1, 5, 2, 2)}, 15, "01/2004", 0, "1..14 (45)", {"5:2+2"}},
        // A start day past a month's end begins it on its last day: February from its 28th or 29th.
        {{Day(2023, 2, 28, 1, 1), Day(2023, 3, 30, 2, 2), Day(2023, 3, 31, 3, 3)},
         31,
         "02/2023",
         0,
         "28..30 (31)",
         {"28:1+1", "30:2+2"}},
        {{Day(2024, 2, 29, 1, 1), Day(2024, 3, 29, 2, 2)}, 30, "02/2024", 0, "29..29 (30)", {"29:1+1", "29:2+2"}},
        // Impossible volumes add nothing; the bar of their day is marked.
        {{Day(2025, 3, 1, 5, 6), Day(2025, 3, 2, std::nan(""), 7), Day(2025, 3, 3, HUGE_VAL, 1e300),
          Day(2025, 3, 4, -8, 2)},
         1,
         "03/2025",
         0,
         "1..31 (31)",
         {"1:5+6", "2?:0+7!", "3?:0+0", "4?:0+2"}},
        {{Day(2003, 12, 20, 1, 1), Day(2004, 1, 5, 2, 2)}, 15, "12/2003", 0, "15..31 (17)", {"20:1+1"}},
        // The same day shown twice (after another day) counts twice, as in the month's sum; its
        // second row stands for two records.
        {{Day(2004, 5, 2, 1, 1), Day(2004, 5, 3, 2, 2), Day(2004, 5, 2, 4, 4), Day(2004, 5, 2, 8, 8)},
         1,
         "05/2004",
         0,
         "1..31 (31)",
         {"2:13+13!", "3:2+2"}},
        // A day the calendar does not have stands after the month's last day; nothing the tree
        // lists is left out.
        {{Day(2026, 4, 31, 5, 6)}, 1, "04/2026", 0, "1..31 (31)", {"31:5+6"}},
        {{Day(2026, 4, 20, 1, 1), Day(2026, 4, 31, 2, 2), Day(2026, 5, 3, 3, 3)},
         15,
         "04/2026",
         0,
         "15..14 (31)",
         {"20:1+1", "31:2+2", "3:3+3!"}},
        // Out of order: May again after June is a month row of its own.
        {{Day(2004, 5, 2, 1, 1), Day(2004, 6, 3, 2, 2), Day(2004, 5, 4, 4, 4)},
         1,
         "05/2004",
         1,
         "1..31 (31)",
         {"4:4+4"}},
    };
    for (const Case& c : cases) {
        const HistoryChart chart = ChartOf(c.records, c.startDay, c.row, c.occurrence);
        EXPECT_EQ(chart.kind, HistoryChart::Kind::kMonth);
        EXPECT_EQ(Axis(chart), c.axis) << c.row << " S=" << c.startDay;
        EXPECT_EQ(Shown(chart), c.shown) << c.row << " S=" << c.startDay;
    }
}

TEST_F(HistoryChartTest, DayAndSumRowsChartTheirMonth) {
    const std::vector<DayRecord> records = {Day(2004, 4, 30, 9, 9), Day(2004, 5, 2, 1, 2), Day(2004, 5, 9, 3, 4),
                                            Day(2004, 6, 1, 9, 9)};
    const HistoryChart day = ChartOf(records, 1, "09.05.2004");
    EXPECT_EQ(day.month, 5);
    EXPECT_EQ(day.year, 2004);
    EXPECT_EQ(Shown(day), (std::vector<std::string>{"2:1+2!", "9:3+4*!"}));
    EXPECT_EQ(day.bars[8].name, "09.05.2004");
    EXPECT_EQ(Shown(ChartOf({Day(2026, 4, 31, 5, 6)}, 1, "31.04.2026")), (std::vector<std::string>{"31:5+6*"}));
    const HistoryChart sum = ChartOf(records, 1, "Sum", 1);
    EXPECT_EQ(Shown(sum), (std::vector<std::string>{"2:1+2!", "9:3+4!"}));
}

TEST_F(HistoryChartTest, TheClickedRowIsFoundByItsTexts) {
    const std::vector<DayRecord> records = {Day(2004, 5, 2, 1, 1), Day(2004, 6, 3, 2, 2), Day(2004, 5, 4, 4, 4)};
    summary_ = history::BuildHistorySummary(records, today_, 1);
    // Rows: 2004, Mai, 02.05., Sum, Juni, 03.06., Sum, Mai, 04.05., Sum.
    ASSERT_EQ(summary_.rows[7].text, "Mai");
    EXPECT_EQ(Shown(ChartOfRow(7, 1)), (std::vector<std::string>{"4:4+4"}));
    // A position that now holds another row: the first row with the texts.
    EXPECT_EQ(Shown(ChartOfRow(7, 1, 4)), (std::vector<std::string>{"2:1+1!"}));
    EXPECT_EQ(Shown(ChartOfRow(7, 1, 99)), (std::vector<std::string>{"2:1+1!"}));

    // A row that is gone names at least its period.
    const std::string month[4] = {"Mai", "", "", "05/2003"};
    const HistoryChart gone = BuildHistoryChart(summary_, 1, month, 1, 1, today_);
    EXPECT_TRUE(gone.bars.empty());
    EXPECT_FALSE(gone.HasRecords());
    EXPECT_EQ(gone.month, 5);
    EXPECT_EQ(gone.year, 2003);
    const std::string year[4] = {"2003", "", "", ""};
    EXPECT_EQ(BuildHistoryChart(summary_, 0, year, 0, 1, today_).year, 2003);
}

TEST_F(HistoryChartTest, TheForecastOfTheAccountingMonthThatHoldsToday) {
    const struct {
        history::CalendarDate today;
        int startDay;
        std::vector<DayRecord> records;
        std::string row;
        bool shown;
        std::size_t bar;  // of a year
        int elapsed, days;
        double total;
    } cases[] = {
        // The first day of a month: a day's traffic times the month's days.
        {{1, 11, 2026}, 1, {Day(2026, 10, 31, 50, 50), Day(2026, 11, 1, 2, 1)}, "11/2026", true, 0, 1, 30, 90},
        // Its last day: what it holds.
        {{30, 11, 2026}, 1, {Day(2026, 11, 1, 20, 10), Day(2026, 11, 30, 1, 2)}, "11/2026", true, 0, 30, 30, 33},
        // From the 15th: 15 November to 14 December.
        {{3, 12, 2026}, 15, {Day(2026, 11, 20, 10, 9), Day(2026, 12, 2, 0, 0)}, "11/2026", true, 0, 19, 30, 30},
        {{3, 12, 2026}, 15, {Day(2026, 11, 20, 10, 9), Day(2026, 12, 2, 0, 0)}, "2026", true, 10, 19, 30, 30},
        // February of a leap year.
        {{10, 2, 2028}, 1, {Day(2028, 2, 3, 6, 4)}, "02/2028", true, 0, 10, 29, 29},
        {{10, 2, 2028}, 1, {Day(2028, 2, 3, 6, 4)}, "2028", true, 1, 10, 29, 29},
        // The year row opens January: its first days belong to it, up to 14 February.
        {{5, 1, 2027}, 15, {Day(2027, 1, 2, 4, 1)}, "01/2027", true, 0, 5, 45, 45},
        // A start day of 31 begins February on its last day: 28 February to 30 March.
        {{5, 3, 2023}, 31, {Day(2023, 2, 28, 3, 3), Day(2023, 3, 1, 0, 0)}, "02/2023", true, 0, 6, 31, 31},
        {{5, 3, 2023}, 31, {Day(2023, 2, 28, 3, 3), Day(2023, 3, 1, 0, 0)}, "2023", true, 1, 6, 31, 31},
        // Another month or year, or a current month without days: none.
        {{3, 12, 2026}, 1, {Day(2026, 11, 20, 10, 9), Day(2026, 12, 2, 0, 0)}, "11/2026", false, 0, 0, 0, 0},
        {{3, 1, 2027}, 1, {Day(2026, 11, 20, 10, 9)}, "2026", false, 0, 0, 0, 0},
        {{3, 12, 2026}, 1, {Day(2026, 11, 20, 10, 9)}, "2026", false, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        today_ = c.today;
        const HistoryChart chart = ChartOf(c.records, c.startDay, c.row);
        const std::string what = c.row + " on " + c.today.ToText();
        ASSERT_EQ(chart.forecast.shown, c.shown) << what;
        if (!c.shown)
            continue;
        EXPECT_EQ(chart.forecast.bar, c.bar) << what;
        EXPECT_EQ(chart.forecast.elapsedDays, c.elapsed) << what;
        EXPECT_EQ(chart.forecast.monthDays, c.days) << what;
        EXPECT_DOUBLE_EQ(chart.forecast.Total(), c.total) << what;
        EXPECT_DOUBLE_EQ(chart.forecast.PerDay(), c.total / c.days) << what;
    }
}

}  // namespace
}  // namespace viewer
