#include "report_table.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "accounting_month.h"
#include "app_texts.h"
#include "language.h"
#include "possible_volume.h"
#include "value_format.h"

namespace report {
namespace {

constexpr char kSumText[] = "Sum";

// The decimal number in characters [from, from + count) of a text, 0 where the part is missing.
int NumberAt(const std::string& text, std::size_t from, std::size_t count) {
    if (from >= text.size())
        return 0;
    const long value = std::strtol(text.substr(from, count).c_str(), nullptr, 10);
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

ReportLine Volumes(double download, double upload) {
    ReportLine line;
    line.download = history::FormatVolume(download, false);
    line.upload = history::FormatVolume(upload, false);
    line.both = history::FormatVolume(upload + download, false);
    return line;
}

}  // namespace

ReportPeriod ReportPeriodOf(int level, const std::string (&texts)[4], int startDay) {
    ReportPeriod period;
    const std::string& day = texts[0];
    if (level != 1 && day != kSumText) {
        // The accounting month that holds the day, named as its month row is.
        history::CalendarDate date;
        date.ParseText(day);
        date = history::CalendarDate::OfStored(date.year, date.month, date.day);
        const history::AccountingMonth month = history::AccountingMonthOf(date, startDay);
        char label[32];
        std::snprintf(label, sizeof label, "%.2d/%d", month.month, month.year);
        period.label = label;
        period.month = history::CalendarDate(1, month.month, month.year);
        period.start = month.first;
        period.end = month.last;
        return period;
    }
    int month = 0, year = 0;
    if (level == 1) {
        month = NumberAt(texts[3], 0, 2);
        year = NumberAt(texts[3], 3, 4);
        period.label = texts[3];
    } else {
        // A sum row names no month: its label read as a day label gives month 0 of year 0, a
        // period without records.
        if (history::CurrentDateStyle() == history::DateStyle::Dotted) {
            month = NumberAt(day, 3, 2);
            period.label = day.size() > 3 ? day.substr(3, 8) : std::string();
        } else {
            month = NumberAt(day, 0, 2);
            period.label = day;
        }
        year = NumberAt(day, 6, 4);
    }
    const history::CalendarDate chosen = history::CalendarDate::OfStored(year, month, 1);
    period.month = chosen;
    // The accounting month that begins in the chosen month, as the month row shows it.
    const history::AccountingMonth accounting = history::AccountingMonthNamed(chosen.month, chosen.year, startDay);
    period.start = accounting.first;
    period.end = accounting.last;
    return period;
}

ReportTable BuildReportTable(const ReportPeriod& period, const std::vector<history::DayRecord>& records,
                             CaptionLoader caption) {
    ReportTable table;
    table.title = kReportTitle;
    table.periodLabel = period.label;
    const int captionIds[5] = {history::kCaptionDateId, history::kCaptionDownloadId, history::kCaptionUploadId,
                               history::kCaptionBothId, history::kCaptionOnlineId};
    for (int i = 0; i < 5; ++i)
        table.captions[i] = caption(captionIds[i]);

    double download = 0, upload = 0;
    std::int64_t seconds = 0;  // wide enough for any number of records in a period
    for (const history::DayRecord& record : records) {
        const history::CalendarDate date = history::CalendarDate::OfStored(record.year, record.month, record.day);
        if (!date.IsEarlierOrEqual(period.end) || !date.IsLaterOrEqual(period.start))
            continue;
        // The line shows the record as stored; the totals count its possible volumes only.
        if (history::IsPossibleVolume(record.downloadBytes))
            download += record.downloadBytes;
        if (history::IsPossibleVolume(record.uploadBytes))
            upload += record.uploadBytes;
        const int shown = history::CountedOnlineSeconds(record.onlineSeconds);
        seconds += shown;
        ReportLine line = Volumes(record.downloadBytes, record.uploadBytes);
        line.date = date.ToText();
        line.online = history::FormatDuration(shown);
        table.lines.push_back(std::move(line));
    }

    if (!records.empty() && download != 0.0 && upload != 0.0) {
        table.hasTotals = true;
        table.totals = Volumes(download, upload);
        table.totals.online = history::FormatDuration(seconds < 0 ? 0 : seconds);
    }
    return table;
}

}  // namespace report
