#include "spreadsheet_report.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "history_store.h"
#include "language.h"
#include "value_format.h"

namespace report {
namespace {

constexpr int kSecondsPerDay = 86400;
constexpr int kCaptionDate = 104, kCaptionUpload = 105, kCaptionDownload = 106, kCaptionBoth = 107,
              kCaptionOnline = 127;

// The decimal number in characters [from, from + count) of a text, 0 where the part is missing.
int NumberAt(const std::string& text, std::size_t from, std::size_t count) {
    if (from >= text.size())
        return 0;
    const long value = std::strtol(text.substr(from, count).c_str(), nullptr, 10);
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

std::string Cell(char column, int row) {
    char name[16];
    std::snprintf(name, sizeof name, "%c%d", column, row);
    return name;
}

std::string Duration(long long seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%3.2lld:%2.2lld:%2.2lld", seconds / 3600, seconds / 60 - 60 * (seconds / 3600),
                  seconds % 60);
    return text;
}

}  // namespace

ReportPeriod ReportPeriodOf(int level, const std::string (&texts)[4], int startDay) {
    ReportPeriod period;
    int month = 0, year = 0;
    if (level == 1) {
        month = NumberAt(texts[3], 0, 2);
        year = NumberAt(texts[3], 3, 4);
        period.label = texts[3];
    } else {
        const std::string& day = texts[0];
        // The label was written in the date style in force, which a negative index makes dotted too.
        if (history::CurrentDateStyle() == history::DateStyle::Dotted) {
            month = NumberAt(day, 3, 2);
            period.label = day.size() > 3 ? day.substr(3, 8) : std::string();
        } else {
            month = NumberAt(day, 0, 2);
            period.label = day;
        }
        year = NumberAt(day, 6, 4);
    }
    history::CalendarDate chosen(0, 0, year);
    chosen.SetMonthNormalized(month);
    chosen.day = 1;

    if (startDay <= 1) {
        period.start = history::CalendarDate(1, chosen.month, chosen.year);
        period.end = history::CalendarDate(history::CalendarDate::DaysInMonth(chosen.month, chosen.year), chosen.month,
                                           chosen.year);
    } else {
        history::CalendarDate before(startDay, chosen.month - 1, chosen.year);
        if (chosen.month == 1) {
            before.month = 12;
            before.year = chosen.year - 1;
        }
        period.start = before;
        period.end = history::CalendarDate(startDay, chosen.month, chosen.year);
        period.end.PreviousDay();
    }
    return period;
}

void WriteReport(SpreadsheetOperations& sheet, const ReportPeriod& period,
                 const std::vector<history::DayRecord>& records, CaptionLoader caption) {
    sheet.SetColumnWidth("A1", "1");
    sheet.SetColumnAlignment("A1", kAlignLeft);
    for (const char* cell : {"B1", "C1", "D1", "E1", "F1"}) {
        sheet.SetColumnWidth(cell, "12");
        sheet.SetColumnAlignment(cell, kAlignRight);
    }

    sheet.SetHeaderBand("A3", "F3", "");
    sheet.SetCell("B3", caption(kCaptionDate), kBlack);
    sheet.SetCell("F3", caption(kCaptionOnline), kBlack);
    sheet.SetCell("E3", caption(kCaptionBoth), kBlack);
    sheet.SetCell("D3", caption(kCaptionUpload), kBlack);
    sheet.SetCell("C3", caption(kCaptionDownload), kBlack);
    sheet.SetFontColor("A3", "F3", kWhite);

    sheet.SetCell("F1", period.label, kBlack);
    sheet.SetFontColor("E1", "F1", kWhite);
    sheet.SetFontSize("B1", "F1", 18);

    double download = 0, upload = 0;
    long long seconds = 0;  // wide enough for any number of records in a period
    int row = 3;
    for (const history::DayRecord& record : records) {
        history::CalendarDate date(0, 0, record.year);
        date.SetMonthNormalized(record.month);
        date.day = record.day;
        if (!date.IsEarlierOrEqual(period.end) || !date.IsLaterOrEqual(period.start))
            continue;
        download += record.downloadBytes;
        upload += record.uploadBytes;
        if (record.onlineSeconds > 0 && record.onlineSeconds < kSecondsPerDay)
            seconds += record.onlineSeconds;
        ++row;
        sheet.SetCell(Cell('B', row), date.ToText(), kBlack);
        sheet.SetCell(Cell('C', row), history::FormatVolume(record.downloadBytes, false), kBlack);
        sheet.SetCell(Cell('D', row), history::FormatVolume(record.uploadBytes, false), kBlack);
        sheet.SetCell(Cell('E', row), history::FormatVolume(record.uploadBytes + record.downloadBytes, false), kBlack);
        const int shown = record.onlineSeconds < 0 || record.onlineSeconds > kSecondsPerDay ? 0 : record.onlineSeconds;
        sheet.SetCell(Cell('F', row), Duration(shown), kBlack);
    }

    if (!records.empty() && download != 0.0 && upload != 0.0) {
        ++row;
        sheet.SetCell(Cell('C', row), history::FormatVolume(download, false), kBlack);
        sheet.SetCell(Cell('D', row), history::FormatVolume(upload, false), kBlack);
        sheet.SetCell(Cell('E', row), history::FormatVolume(upload + download, false), kBlack);
        sheet.SetCell(Cell('F', row), Duration(seconds < 0 ? 0 : seconds), kBlack);
        sheet.SetBold(Cell('A', row), Cell('F', row));
        sheet.SetUnderline(Cell('A', row), Cell('F', row));
    }
}

void BuildSpreadsheetReport(SpreadsheetOperations& sheet, int level, const std::string (&texts)[4], int startDay,
                            const std::string& historyPath, CaptionLoader caption) {
    if (!sheet.StartApplication(kReportTitle))
        return;
    history::HistoryStore store(historyPath);
    store.OpenFile();
    store.Load();
    WriteReport(sheet, ReportPeriodOf(level, texts, startDay), store.records, caption);
    store.CloseFile();
    sheet.ShowToUser();
}

}  // namespace report
