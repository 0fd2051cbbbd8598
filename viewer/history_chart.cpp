#include "history_chart.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>

#include "calendar_date.h"

namespace viewer {
namespace {

using history::CalendarDate;
using history::SummaryRow;

// A month longer than this, which only damaged or unordered files make, shows only its days with records.
constexpr std::int64_t kLongestAxisDays = 366;

// Days since 1 January 1970 of a proleptic Gregorian date, and back.
std::int64_t DayNumber(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CalendarDate DateOfNumber(std::int64_t number) {
    number += 719468;
    const std::int64_t era = (number >= 0 ? number : number - 146096) / 146097;
    const std::int64_t dayOfEra = number - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shifted = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
    const int month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
    return CalendarDate(day, month, static_cast<int>(era * 400 + yearOfEra + (month <= 2)));
}

bool IsCalendarDay(int year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= CalendarDate::DaysInMonth(month, year);
}

bool IsDayRow(const SummaryRow& row) {
    return row.level == history::kLevelDay && row.image != history::kImageSum;
}

bool Matches(const SummaryRow& row, int level, const std::string (&texts)[4]) {
    if (row.level != level || row.text != texts[0])
        return false;
    for (int c = 0; c < 3; ++c) {
        if ((row.columnSet[c] ? row.columns[c] : std::string()) != texts[c + 1])
            return false;
    }
    return true;
}

// The clicked row: the one at the hinted position when it still has the clicked texts, else the
// first that has them; -1 when none has.
int FindRow(const std::vector<SummaryRow>& rows, int level, const std::string (&texts)[4], int item) {
    if (item >= 0 && static_cast<std::size_t>(item) < rows.size() && Matches(rows[item], level, texts))
        return item;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (Matches(rows[i], level, texts))
            return static_cast<int>(i);
    }
    return -1;
}

std::string ShortMonthName(int month) {
    return CalendarDate::MonthNameAt(month - 1).substr(0, 3);
}

void Add(ChartBar& bar, const SummaryRow& row) {
    bar.downloadBytes += row.downloadBytes;
    bar.uploadBytes += row.uploadBytes;
    bar.hasRecords = true;
}

// The year's rows up to the next year row: day rows count for the month of the month row above
// them, or, right after the year row, for their own month.
void FillYear(HistoryChart& chart, const std::vector<SummaryRow>& rows, std::size_t yearRow) {
    chart.bars.resize(12);
    for (int m = 1; m <= 12; ++m)
        chart.bars[m - 1].label = ShortMonthName(m);
    int month = 0;
    for (std::size_t i = yearRow + 1; i < rows.size() && rows[i].level != history::kLevelYear; ++i) {
        const SummaryRow& row = rows[i];
        if (row.level == history::kLevelMonth) {
            month = row.month;
        } else if (IsDayRow(row)) {
            const int barMonth = month != 0 ? month : row.month;
            if (barMonth >= 1 && barMonth <= 12)
                Add(chart.bars[barMonth - 1], row);
        }
    }
}

// The first and last day of the accounting month that a month row of `month`/`year` opens.
void NominalPeriod(int month, int year, int startDay, std::int64_t& first, std::int64_t& last) {
    const int start = std::max(startDay, 1);
    if (start == 1) {
        first = DayNumber(year, month, 1);
        last = DayNumber(year, month, CalendarDate::DaysInMonth(month, year));
        return;
    }
    first = DayNumber(year, month, std::min(start, CalendarDate::DaysInMonth(month, year)));
    // The tree opens a new month with every year.
    last = month == 12 ? DayNumber(year, 12, 31)
                       : DayNumber(year, month + 1, std::min(start - 1, CalendarDate::DaysInMonth(month + 1, year)));
}

void FillMonth(HistoryChart& chart, const std::vector<SummaryRow>& rows, std::size_t clicked, int startDay) {
    // The rows of the month: after its month row (or after the year row where the year opened
    // without one, or from the top where no row opened it) up to the next month or year row.
    std::size_t begin = clicked + 1;
    if (rows[clicked].level == history::kLevelDay) {
        begin = clicked;
        while (begin > 0 && rows[begin - 1].level == history::kLevelDay)
            --begin;
    }
    const SummaryRow* head = begin > 0 ? &rows[begin - 1] : nullptr;
    std::size_t end = begin;
    while (end < rows.size() && rows[end].level == history::kLevelDay)
        ++end;

    std::map<std::int64_t, ChartBar> days;
    for (std::size_t i = begin; i < end; ++i) {
        const SummaryRow& row = rows[i];
        // A day that is no calendar day has no place on the axis.
        if (IsDayRow(row) && IsCalendarDay(row.year, row.month, row.day))
            Add(days[DayNumber(row.year, row.month, row.day)], row);
    }
    if (head != nullptr && head->level == history::kLevelMonth) {
        chart.month = head->month;
        chart.year = head->year;
    } else if (!days.empty()) {
        const CalendarDate first = DateOfNumber(days.begin()->first);
        chart.month = first.month;
        chart.year = first.year;
    }

    if (days.empty())
        return;
    std::int64_t first = days.begin()->first, last = days.rbegin()->first;
    if (IsCalendarDay(chart.year, chart.month, 1)) {
        std::int64_t nominalFirst = 0, nominalLast = 0;
        NominalPeriod(chart.month, chart.year, startDay, nominalFirst, nominalLast);
        first = std::min(first, nominalFirst);
        last = std::max(last, nominalLast);
    }
    // Too long for a continuous axis: the days with records only.
    if (last - first >= kLongestAxisDays)
        first = last + 1;
    for (std::int64_t number = first; number <= last; ++number)
        days.emplace(number, ChartBar());

    const bool markDay = IsDayRow(rows[clicked]);
    for (auto& [number, bar] : days) {
        const CalendarDate date = DateOfNumber(number);
        bar.label = std::to_string(date.day);
        bar.sunday = date.DayOfWeek() == 1;
        bar.marked = markDay && date.year == rows[clicked].year && date.month == rows[clicked].month &&
                     date.day == rows[clicked].day;
        chart.bars.push_back(std::move(bar));
    }
}

// Where the row is gone: at least the period it named, for the window's title.
void NameFromTexts(HistoryChart& chart, int level, const std::string (&texts)[4]) {
    if (level == history::kLevelYear) {
        chart.year = std::atoi(texts[0].c_str());
    } else if (level == history::kLevelMonth) {
        chart.month = std::atoi(texts[3].substr(0, 2).c_str());
        chart.year = texts[3].size() > 3 ? std::atoi(texts[3].substr(3).c_str()) : 0;
    } else {
        CalendarDate date;
        date.ParseText(texts[0]);
        chart.month = date.month;
        chart.year = date.year;
    }
}

}  // namespace

bool HistoryChart::HasRecords() const {
    return std::any_of(bars.begin(), bars.end(), [](const ChartBar& bar) { return bar.hasRecords; });
}

HistoryChart BuildHistoryChart(const history::HistorySummary& summary, int level, const std::string (&texts)[4],
                               int item, int startDay) {
    CalendarDate::ReloadNames();
    HistoryChart chart;
    chart.kind = level == history::kLevelYear ? HistoryChart::Kind::kYear : HistoryChart::Kind::kMonth;
    const int row = FindRow(summary.rows, level, texts, item);
    if (row < 0) {
        NameFromTexts(chart, level, texts);
        return chart;
    }
    if (chart.kind == HistoryChart::Kind::kYear) {
        chart.year = summary.rows[row].year;
        FillYear(chart, summary.rows, static_cast<std::size_t>(row));
    } else {
        FillMonth(chart, summary.rows, static_cast<std::size_t>(row), startDay);
    }
    return chart;
}

}  // namespace viewer
