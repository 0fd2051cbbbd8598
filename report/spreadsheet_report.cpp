#include "spreadsheet_report.h"

#include <cstdio>

#include "history_store.h"

namespace report {
namespace {

std::string Cell(char column, int row) {
    char name[16];
    std::snprintf(name, sizeof name, "%c%d", column, row);
    return name;
}

void WriteLine(SpreadsheetOperations& sheet, int row, const ReportLine& line) {
    sheet.SetCell(Cell('C', row), line.download, kBlack);
    sheet.SetCell(Cell('D', row), line.upload, kBlack);
    sheet.SetCell(Cell('E', row), line.both, kBlack);
    sheet.SetCell(Cell('F', row), line.online, kBlack);
}

}  // namespace

void WriteReport(SpreadsheetOperations& sheet, const ReportPeriod& period,
                 const std::vector<history::DayRecord>& records, CaptionLoader caption) {
    const ReportTable table = BuildReportTable(period, records, caption);
    sheet.SetColumnWidth("A1", "1");
    sheet.SetColumnAlignment("A1", kAlignLeft);
    for (const char* cell : {"B1", "C1", "D1", "E1", "F1"}) {
        sheet.SetColumnWidth(cell, "12");
        sheet.SetColumnAlignment(cell, kAlignRight);
    }

    // The captions are date, download, upload, both and online time: written B, F, E, D, C.
    sheet.SetHeaderBand("A3", "F3", "");
    sheet.SetCell("B3", table.captions[0], kBlack);
    sheet.SetCell("F3", table.captions[4], kBlack);
    sheet.SetCell("E3", table.captions[3], kBlack);
    sheet.SetCell("D3", table.captions[2], kBlack);
    sheet.SetCell("C3", table.captions[1], kBlack);
    sheet.SetFontColor("A3", "F3", kWhite);

    sheet.SetCell("F1", table.periodLabel, kBlack);
    sheet.SetFontColor("E1", "F1", kWhite);
    sheet.SetFontSize("B1", "F1", 18);

    int row = 3;
    for (const ReportLine& line : table.lines) {
        ++row;
        sheet.SetCell(Cell('B', row), line.date, kBlack);
        WriteLine(sheet, row, line);
    }
    if (table.hasTotals) {
        ++row;
        WriteLine(sheet, row, table.totals);
        sheet.SetBold(Cell('A', row), Cell('F', row));
        sheet.SetUnderline(Cell('A', row), Cell('F', row));
    }
}

ReportOutcome BuildSpreadsheetReport(SpreadsheetOperations& sheet, int level, const std::string (&texts)[4],
                                     int startDay, const std::string& historyPath, CaptionLoader caption) {
    if (!sheet.StartApplication(kReportTitle))
        return ReportOutcome::kNotStarted;
    history::HistoryStore store(historyPath);
    const bool read = store.LoadForReading() != history::HistoryStore::ReadResult::kUnreadable;
    WriteReport(sheet, ReportPeriodOf(level, texts, startDay), store.records, caption);
    store.CloseFile();
    sheet.ShowToUser();
    return read ? ReportOutcome::kShown : ReportOutcome::kHistoryUnreadable;
}

}  // namespace report
