#include "history_summary.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>

#include "accounting_month.h"
#include "possible_volume.h"
#include "value_format.h"

namespace history {
namespace {

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

    void Add(const DayRecord& r, std::size_t position) {
        const CalendarDate date = CalendarDate::OfStored(r.year, r.month, r.day);
        if (date.IsLater(today_))
            return;
        const int seconds = CountedOnlineSeconds(r.onlineSeconds);
        // A day the monitor stored as several records in a row is one day: its row shows them all.
        if (haveDayRow_ && date.Equals(lastDay_)) {
            SummaryRow& row = summary_.rows[lastDayRow_];
            dayDownload_ += r.downloadBytes;
            dayUpload_ += r.uploadBytes;
            SetVolumeColumns(row, dayDownload_, dayUpload_);
            row.onlineSeconds += seconds;
            row.SetColumn(3, FormatDuration(row.onlineSeconds));
            Count(row, r, seconds, position);
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
            row.firstRecord = position;
            summary_.lastYearRow = summary_.rows.size();
            summary_.rows.push_back(std::move(row));
            // The month's seconds run on; only the volumes start again with the year.
            monthDownload_ = 0;
            monthUpload_ = 0;
            lastYear_ = date;
            yearJustOpened_ = true;
            haveYearRow_ = true;
            haveMonthRow_ = false;
        }

        // May of one year and May of the next are two months.
        if ((date.month != lastMonth_.month || date.year != lastMonth_.year) &&
            (OpensAccountingMonth(date, startDay_) || yearJustOpened_)) {
            AddSumRow();
            SummaryRow row;
            row.text = date.MonthName();
            row.image = kImageMonth;
            row.level = kLevelMonth;
            SetDate(row, date);
            row.firstRecord = position;
            char period[32];
            std::snprintf(period, sizeof period, "%.2d/%d", date.month, date.year);
            row.SetColumn(2, period);
            monthRow_ = summary_.rows.size();
            haveMonthRow_ = true;
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
        dayDownload_ = r.downloadBytes;
        dayUpload_ = r.uploadBytes;
        SetVolumeColumns(row, dayDownload_, dayUpload_);
        row.onlineSeconds = seconds;
        row.SetColumn(3, FormatDuration(seconds));
        row.firstRecord = position;
        lastDayRow_ = summary_.rows.size();
        haveDayRow_ = true;
        summary_.rows.push_back(std::move(row));

        Count(summary_.rows[lastDayRow_], r, seconds, position);
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

    // The texts show the volumes as stored.
    static void SetVolumeColumns(SummaryRow& row, double download, double upload) {
        row.SetColumn(0, FormatVolume(download, false));
        row.SetColumn(1, FormatVolume(upload, false));
        row.SetColumn(2, FormatVolume(upload + download, false));
    }

    // The record counts for its day and its month with its possible volumes only, each on its own,
    // and its seconds as they are shown; and it is one of the records of its day, month and year row.
    void Count(SummaryRow& day, const DayRecord& r, int seconds, std::size_t position) {
        const bool download = IsPossibleVolume(r.downloadBytes);
        const bool upload = IsPossibleVolume(r.uploadBytes);
        if (download) {
            day.downloadBytes += r.downloadBytes;
            monthDownload_ += r.downloadBytes;
        }
        if (upload) {
            day.uploadBytes += r.uploadBytes;
            monthUpload_ += r.uploadBytes;
        }
        day.anyDownload = day.anyDownload || download;
        day.anyUpload = day.anyUpload || upload;
        if (!(download && upload) && !day.impossible) {
            day.impossible = true;
            if (summary_.impossibleDays++ == 0)
                summary_.firstImpossibleDay = day.text;
        }
        monthSeconds_ += seconds;
        day.endRecord = position + 1;
        if (haveMonthRow_)
            summary_.rows[monthRow_].endRecord = position + 1;
        if (haveYearRow_)
            summary_.rows[summary_.lastYearRow].endRecord = position + 1;
    }

    // Closes the running month, unless its download or upload total is exactly zero.
    void AddSumRow() {
        if (monthDownload_ == 0 || monthUpload_ == 0)
            return;
        SummaryRow row;
        row.text = "Sum";
        row.image = kImageSum;
        row.level = kLevelDay;
        row.downloadBytes = monthDownload_;
        row.uploadBytes = monthUpload_;
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
    // The last day row's volumes as stored, summed over its records.
    double dayDownload_ = 0;
    double dayUpload_ = 0;
    bool yearJustOpened_ = false;
    // The position of the row of lastDay_, once there is one: a damaged record can carry the
    // starting date (day -1, month -1, 1980) before any row exists.
    bool haveDayRow_ = false;
    std::size_t lastDayRow_ = 0;
    // The running month row and year row, whose records grow with every record shown.
    bool haveMonthRow_ = false;
    std::size_t monthRow_ = 0;
    bool haveYearRow_ = false;
    HistorySummary summary_;
};

}  // namespace

HistorySummary BuildHistorySummary(const std::vector<DayRecord>& records, const CalendarDate& today, int startDay) {
    SummaryBuilder builder(today, startDay);
    builder.Reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        builder.Add(records[i], i);
    return builder.Finish(!records.empty());
}

bool RowShowsRecord(const SummaryRow& row, const std::vector<DayRecord>& records, std::size_t position,
                    const CalendarDate& today) {
    if (position < row.firstRecord || position >= row.endRecord || position >= records.size())
        return false;
    const DayRecord& r = records[position];
    return !CalendarDate::OfStored(r.year, r.month, r.day).IsLater(today);
}

}  // namespace history
