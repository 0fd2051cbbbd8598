#include "history_summary.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>

#include "value_format.h"

namespace history {
namespace {

constexpr int kSecondsPerDay = 86400;
constexpr int kFirstShownYear = 1980;  // only later years open a year row

// The month's sum seconds as a whole number; a sum past the 64-bit range is held at its end.
std::int64_t WholeSeconds(double seconds) {
    if (!(seconds > -9.2e18))
        return seconds != seconds ? 0 : INT64_MIN;
    if (seconds >= 9.2e18)
        return INT64_MAX;
    return static_cast<std::int64_t>(seconds);
}

class SummaryBuilder {
public:
    SummaryBuilder(const CalendarDate& today, int startDay) : today_(today), startDay_(startDay) {}

    void Add(const DayRecord& r) {
        const CalendarDate date = CalendarDate::OfStored(r.year, r.month, r.day);
        if (date.IsLater(today_))
            return;
        // A day the monitor stored as several records in a row is one day: its row shows them all.
        const int seconds = r.onlineSeconds < 0 || r.onlineSeconds > kSecondsPerDay ? 0 : r.onlineSeconds;
        if (haveDayRow_ && date.Equals(lastDay_)) {
            SummaryRow& row = summary_.rows[lastDayRow_];
            SetVolumeColumns(row, row.downloadBytes + r.downloadBytes, row.uploadBytes + r.uploadBytes);
            row.onlineSeconds += seconds;
            row.SetColumn(3, FormatDuration(row.onlineSeconds));
            Accumulate(r, seconds);
            return;
        }

        if (date.year > lastYear_.year) {
            // The year's last accounting month is closed like any other.
            AddSumRow();
            SummaryRow row;
            row.text = std::to_string(date.year);
            row.image = kImageYear;
            row.level = kLevelYear;
            SetDate(row, date);
            summary_.lastYearRow = summary_.rows.size();
            summary_.rows.push_back(std::move(row));
            // The month's seconds run on; only the volumes start again with the year.
            monthDownload_ = 0;
            monthUpload_ = 0;
            lastYear_ = date;
            yearJustOpened_ = true;
        }

        // May of one year and May of the next are two months.
        if ((date.month != lastMonth_.month || date.year != lastMonth_.year) &&
            (date.day >= startDay_ || yearJustOpened_)) {
            AddSumRow();
            SummaryRow row;
            row.text = date.MonthName();
            row.image = kImageMonth;
            row.level = kLevelMonth;
            SetDate(row, date);
            char period[32];
            std::snprintf(period, sizeof period, "%.2d/%d", date.month, date.year);
            row.SetColumn(2, period);
            summary_.rows.push_back(std::move(row));
            monthDownload_ = 0;
            monthUpload_ = 0;
            monthSeconds_ = 0;
            lastMonth_ = date;
            yearJustOpened_ = false;
        }

        SummaryRow row;
        row.text = date.ToText();
        row.image = date.DayOfWeek() == 1 ? kImageSunday : kImageDay;
        row.level = kLevelDay;
        SetDate(row, date);
        SetVolumeColumns(row, r.downloadBytes, r.uploadBytes);
        row.onlineSeconds = seconds;
        row.SetColumn(3, FormatDuration(seconds));
        lastDayRow_ = summary_.rows.size();
        haveDayRow_ = true;
        summary_.rows.push_back(std::move(row));

        Accumulate(r, seconds);
        lastDay_ = date;
    }

    // About one row per record, plus a year, month and sum row now and then: room for that up
    // front saves moving every row again and again as the list grows.
    void Reserve(std::size_t recordCount) {
        try {
            summary_.rows.reserve(recordCount + recordCount / 8 + 16);
        } catch (const std::exception&) {
            // then the list grows as it goes
        }
    }

    HistorySummary Finish(bool anyRecord) {
        if (anyRecord) {
            AddSumRow();
            summary_.expand = true;
        }
        return std::move(summary_);
    }

private:
    static void SetDate(SummaryRow& row, const CalendarDate& date) {
        row.year = date.year;
        row.month = date.month;
        row.day = date.day;
    }

    static void SetVolumeColumns(SummaryRow& row, double download, double upload) {
        row.downloadBytes = download;
        row.uploadBytes = upload;
        row.SetColumn(0, FormatVolume(download, false));
        row.SetColumn(1, FormatVolume(upload, false));
        row.SetColumn(2, FormatVolume(upload + download, false));
    }

    // Every record counts for its month; its seconds only when they are a plausible part of a day.
    void Accumulate(const DayRecord& r, int seconds) {
        monthDownload_ += r.downloadBytes;
        monthUpload_ += r.uploadBytes;
        if (seconds > 0 && seconds < kSecondsPerDay)
            monthSeconds_ += seconds;
    }

    // Closes the running month, unless its download or upload total is exactly zero.
    void AddSumRow() {
        if (monthDownload_ == 0 || monthUpload_ == 0)
            return;
        SummaryRow row;
        row.text = "Sum";
        row.image = kImageSum;
        row.level = kLevelDay;
        SetVolumeColumns(row, monthDownload_, monthUpload_);
        row.onlineSeconds = WholeSeconds(monthSeconds_);
        row.SetColumn(3, FormatDuration(row.onlineSeconds));
        summary_.rows.push_back(std::move(row));
    }

    const CalendarDate& today_;
    const int startDay_;
    CalendarDate lastDay_{-1, -1, kFirstShownYear};
    CalendarDate lastMonth_{-1, -1, kFirstShownYear};
    CalendarDate lastYear_{-1, -1, kFirstShownYear};
    double monthDownload_ = 0;
    double monthUpload_ = 0;
    double monthSeconds_ = 0;
    bool yearJustOpened_ = false;
    // The position of the row of lastDay_, once there is one: a damaged record can carry the
    // starting date (day -1, month -1, 1980) before any row exists.
    bool haveDayRow_ = false;
    std::size_t lastDayRow_ = 0;
    HistorySummary summary_;
};

}  // namespace

HistorySummary BuildHistorySummary(const std::vector<DayRecord>& records, const CalendarDate& today, int startDay) {
    SummaryBuilder builder(today, startDay);
    builder.Reserve(records.size());
    for (const DayRecord& r : records)
        builder.Add(r);
    return builder.Finish(!records.empty());
}

}  // namespace history
