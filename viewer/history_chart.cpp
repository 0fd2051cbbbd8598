#include "history_chart.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <utility>

#include "accounting_month.h"
#include "calendar_date.h"

namespace viewer {
namespace {

using history::CalendarDate;
using history::SummaryRow;

// A month longer than this, which only damaged or unordered files make, shows only its days with records.
constexpr std::int64_t kLongestAxisDays = 366;

using history::AccountingMonth;
using history::DateOfDayNumber;
using history::DayNumber;

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
    return history::FindRowNear(rows, item, [&](const SummaryRow& row) { return Matches(row, level, texts); });
}

std::string ShortMonthName(int month) {
    return CalendarDate::MonthNameAt(month - 1).substr(0, 3);
}

// The day row's counted volumes: an impossible one marks the bar and adds nothing.
void Add(ChartBar& bar, const SummaryRow& row) {
    bar.downloadBytes += row.downloadBytes;
    bar.uploadBytes += row.uploadBytes;
    bar.onlineSeconds += static_cast<double>(row.onlineSeconds);
    bar.hasRecords = true;
    bar.impossible = bar.impossible || row.impossible;
}

double TotalOf(const ChartBar& bar) {
    return bar.downloadBytes + bar.uploadBytes;
}

// The day numbers of the accounting month that holds `today` and of today, when today is a date.
bool CurrentMonth(const CalendarDate& today, int startDay, AccountingMonth& current, std::int64_t& todayNumber) {
    if (!IsCalendarDay(today.year, today.month, today.day))
        return false;
    current = history::AccountingMonthOf(today, startDay);
    todayNumber = DayNumber(today.year, today.month, today.day);
    return true;
}

ChartForecast ForecastOf(double soFar, const AccountingMonth& current, std::int64_t todayNumber) {
    ChartForecast forecast;
    forecast.shown = true;
    forecast.soFar = soFar;
    forecast.monthDays = current.days;
    forecast.elapsedDays =
        static_cast<int>(todayNumber - DayNumber(current.first.year, current.first.month, current.first.day) + 1);
    return forecast;
}

// The year's rows up to the next year row: day rows count for the month of the month row above
// them, or, right after the year row, for their own month.
void FillYear(HistoryChart& chart, const std::vector<SummaryRow>& rows, std::size_t yearRow) {
    chart.bars.resize(12);
    for (int m = 1; m <= 12; ++m) {
        chart.bars[m - 1].label = ShortMonthName(m);
        chart.bars[m - 1].name = CalendarDate::MonthNameAt(m - 1) + " " + std::to_string(chart.year);
    }
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

    // Keyed by the day's number on the calendar and, for a day the calendar does not have (a 31
    // April), its distance from the nearest day it has, so that it stands beside that day.
    using Key = std::pair<std::int64_t, int>;
    auto keyOf = [](const SummaryRow& row) {
        const int month = std::min(std::max(row.month, 1), 12);
        const int day = std::min(std::max(row.day, 1), CalendarDate::DaysInMonth(month, row.year));
        return Key{DayNumber(row.year, month, day), (row.month - month) * 64 + (row.day - day)};
    };
    std::map<Key, ChartBar> days;
    for (std::size_t i = begin; i < end; ++i) {
        const SummaryRow& row = rows[i];
        if (!IsDayRow(row))
            continue;
        ChartBar& bar = days[keyOf(row)];
        if (!bar.hasRecords) {
            bar.label = std::to_string(row.day);
            bar.name = row.text;
            bar.sunday = row.image == history::kImageSunday;
        }
        Add(bar, row);
    }
    if (head != nullptr && head->level == history::kLevelMonth) {
        chart.month = head->month;
        chart.year = head->year;
    } else if (!days.empty()) {
        const CalendarDate first = DateOfDayNumber(days.begin()->first.first);
        chart.month = first.month;
        chart.year = first.year;
    }

    if (days.empty())
        return;
    std::int64_t first = days.begin()->first.first, last = days.rbegin()->first.first;
    if (IsCalendarDay(chart.year, chart.month, 1)) {
        const AccountingMonth period = history::AccountingMonthNamed(chart.month, chart.year, startDay);
        first = std::min(first, DayNumber(period.first.year, period.first.month, period.first.day));
        last = std::max(last, DayNumber(period.last.year, period.last.month, period.last.day));
    }
    // Too long for a continuous axis: the days with records only.
    if (last - first >= kLongestAxisDays)
        first = last + 1;
    for (std::int64_t number = first; number <= last; ++number) {
        auto [place, added] = days.emplace(Key{number, 0}, ChartBar());
        if (added) {
            const CalendarDate date = DateOfDayNumber(number);
            place->second.label = std::to_string(date.day);
            place->second.name = date.ToText();
            place->second.sunday = date.DayOfWeek() == 1;
        }
    }

    const bool markDay = IsDayRow(rows[clicked]);
    const Key clickedKey = keyOf(rows[clicked]);
    for (auto& [key, bar] : days) {
        bar.marked = markDay && key == clickedKey;
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

ChartBar HistoryChart::Total() const {
    ChartBar total;
    for (const ChartBar& bar : bars) {
        total.downloadBytes += bar.downloadBytes;
        total.uploadBytes += bar.uploadBytes;
        total.onlineSeconds += bar.onlineSeconds;
        total.hasRecords = total.hasRecords || bar.hasRecords;
    }
    return total;
}

int HistoryChart::BarsWithRecords() const {
    return static_cast<int>(
        std::count_if(bars.begin(), bars.end(), [](const ChartBar& bar) { return bar.hasRecords; }));
}

HistoryChart BuildHistoryChart(const history::HistorySummary& summary, int level, const std::string (&texts)[4],
                               int item, int startDay, const CalendarDate& today) {
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

    AccountingMonth current;
    std::int64_t todayNumber = 0;
    if (!chart.HasRecords() || !CurrentMonth(today, startDay, current, todayNumber) || current.year != chart.year)
        return chart;
    if (chart.kind == HistoryChart::Kind::kYear) {
        const ChartBar& bar = chart.bars[current.month - 1];
        if (bar.hasRecords) {
            chart.forecast = ForecastOf(TotalOf(bar), current, todayNumber);
            chart.forecast.bar = static_cast<std::size_t>(current.month - 1);
        }
    } else if (current.month == chart.month) {
        chart.forecast = ForecastOf(TotalOf(chart.Total()), current, todayNumber);
    }
    return chart;
}

}  // namespace viewer
