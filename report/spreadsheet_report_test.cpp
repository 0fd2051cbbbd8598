#include "spreadsheet_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "language.h"
#include "operation_log.h"
#include "settings_store.h"
#include "test_files.h"
#include "worksheet_model.h"

namespace report {
namespace {

using history::Day;

std::string Caption(int id) {
    return "caption " + std::to_string(id);
}

class SpreadsheetReport : public ::testing::Test {
protected:
    void SetUp() override {
        history::SetLanguageIndex(0);
        history::SetCurrentSettings(history::MonitorSettings{});
    }
    void TearDown() override { history::SetLanguageIndex(0); }

    // The report of a row over the given records.
    WorksheetModel Report(int level, const std::string& text, int startDay,
                          const std::vector<history::DayRecord>& records) {
        std::string texts[4];
        (level == 1 ? texts[3] : texts[0]) = text;
        WorksheetModel sheet;
        EXPECT_TRUE(sheet.StartApplication(kReportTitle));
        WriteReport(sheet, ReportPeriodOf(level, texts, startDay), records, Caption);
        return sheet;
    }

    static std::vector<std::string> Column(const WorksheetModel& sheet, char column, int from, int to) {
        std::vector<std::string> texts;
        for (int row = from; row <= to; ++row)
            texts.push_back(sheet.At(column + std::to_string(row)).text);
        return texts;
    }
};

TEST_F(SpreadsheetReport, PeriodsOfMonthAndDayRows) {
    struct Case {
        int level;
        std::string text;
        int language;
        int startDay;
        history::CalendarDate start, end;
        std::string label;
    } cases[] = {
        {1, "02/2004", 0, 1, {1, 2, 2004}, {29, 2, 2004}, "02/2004"},
        // A month row's period is the accounting month that begins in it, as the tree shows it:
        // January begins with its year, December ends with it.
        {1, "01/2004", 0, 15, {1, 1, 2004}, {14, 2, 2004}, "01/2004"},
        {1, "05/2004", 0, 15, {15, 5, 2004}, {14, 6, 2004}, "05/2004"},
        {1, "12/2004", 0, 15, {15, 12, 2004}, {31, 12, 2004}, "12/2004"},
        {1, "02/2024", 0, 31, {29, 2, 2024}, {30, 3, 2024}, "02/2024"},
        {1, "02/2023", 0, 30, {28, 2, 2023}, {29, 3, 2023}, "02/2023"},
        // A day row's is the one that holds the day, labelled as its month row.
        {2, "20.05.2004", 0, 1, {1, 5, 2004}, {31, 5, 2004}, "05/2004"},
        {2, "05/20/2004", 1, 1, {1, 5, 2004}, {31, 5, 2004}, "05/2004"},
        {2, "20.05.2004", -1, 1, {1, 5, 2004}, {31, 5, 2004}, "05/2004"},
        {2, "05/20/2004", 7, 1, {1, 5, 2004}, {31, 5, 2004}, "05/2004"},
        {2, "20.05.2004", 0, 15, {15, 5, 2004}, {14, 6, 2004}, "05/2004"},
        {2, "10.05.2004", 0, 15, {15, 4, 2004}, {14, 5, 2004}, "04/2004"},
        {2, "15.03.2023", 0, 31, {28, 2, 2023}, {30, 3, 2023}, "02/2023"},
        {2, "10.01.2004", 0, 31, {1, 1, 2004}, {28, 2, 2004}, "01/2004"},
        {1, "13/2004", 0, 1, {1, 1, 2005}, {31, 1, 2005}, "13/2004"},
        {2, "Sum", 0, 1, {1, 12, -1}, {31, 12, -1}, ""},
        {2, "Sum", 1, 1, {1, 12, -1}, {31, 12, -1}, "Sum"},
    };
    for (const Case& c : cases) {
        history::SetLanguageIndex(c.language);
        std::string texts[4];
        (c.level == 1 ? texts[3] : texts[0]) = c.text;
        const ReportPeriod period = ReportPeriodOf(c.level, texts, c.startDay);
        EXPECT_TRUE(period.start.Equals(c.start)) << c.text << " S=" << c.startDay << " start " << period.start.day
                                                  << "." << period.start.month << "." << period.start.year;
        EXPECT_TRUE(period.end.Equals(c.end)) << c.text << " S=" << c.startDay << " end " << period.end.day << "."
                                              << period.end.month << "." << period.end.year;
        EXPECT_EQ(period.label, c.label) << c.text;
    }
}

TEST_F(SpreadsheetReport, LinesInFileOrderWithTotals) {
    const std::vector<history::DayRecord> records = {
        Day(2004, 3, 1, 1e6, 1e5, 60),     Day(2004, 2, 29, 2e6, 2e5, 3600), Day(2004, 2, 1, 1e6, 1e5, 86400),
        Day(2004, 2, 29, 3e6, 3e5, 90000), Day(2004, 2, 10, 5e5, 5e4, -5),   Day(2004, 1, 31, 1e6, 1e5, 10)};
    const WorksheetModel sheet = Report(1, "02/2004", 1, records);
    EXPECT_EQ(Column(sheet, 'B', 4, 8),
              (std::vector<std::string>{"29.02.2004", "01.02.2004", "29.02.2004", "10.02.2004", ""}));
    EXPECT_EQ(Column(sheet, 'F', 4, 7), (std::vector<std::string>{" 01:00:00", " 24:00:00", " 00:00:00", " 00:00:00"}));
    EXPECT_EQ(sheet.At("C4").text, "1.9 MB");
    EXPECT_EQ(sheet.At("E4").text, "2.1 MB");
    // Totals: every line's volumes, the seconds of days of 0..86400 (3600 and a full day).
    EXPECT_EQ(sheet.At("C8").text, "6.2 MB");
    EXPECT_EQ(sheet.At("D8").text, "634.8 KB");
    EXPECT_EQ(sheet.At("E8").text, "6.8 MB");
    EXPECT_EQ(sheet.At("F8").text, " 25:00:00");
    EXPECT_TRUE(sheet.At("A8").bold);
    EXPECT_EQ(sheet.At("F8").underline, kSingleUnderline);
    EXPECT_FALSE(sheet.At("A8").written);
    EXPECT_FALSE(sheet.At("B7").bold);
}

// Every record of the period has its line as stored; the totals count only possible volumes.
TEST_F(SpreadsheetReport, ImpossibleVolumesAreLinedButNotTotalled) {
    const WorksheetModel sheet = Report(1, "03/2025", 1,
                                        {Day(2025, 3, 1, 1048576, 2048, 60), Day(2025, 3, 2, std::nan(""), 1024, 60),
                                         Day(2025, 3, 3, -1, HUGE_VAL, 60), Day(2025, 3, 4, 1e300, 1024, 60)});
    EXPECT_EQ(Column(sheet, 'C', 4, 5), (std::vector<std::string>{"1.0 MB", "nan KB"}));
    EXPECT_EQ(sheet.At("D6").text, "inf GB");
    EXPECT_EQ(sheet.At("C8").text, "1.0 MB");
    EXPECT_EQ(sheet.At("D8").text, "4.0 KB");
    EXPECT_EQ(sheet.At("E8").text, "1.0 MB");
    EXPECT_EQ(sheet.At("F8").text, " 00:04:00");
    // Nothing possible to download: no totals line.
    const WorksheetModel none = Report(1, "03/2025", 1, {Day(2025, 3, 2, std::nan(""), 1024, 60)});
    EXPECT_FALSE(none.At("C5").written);
}

TEST_F(SpreadsheetReport, TheLayout) {
    const WorksheetModel sheet = Report(1, "05/2004", 1, {Day(2004, 5, 2)});
    EXPECT_EQ(sheet.sheetName, "Lumetra Report");
    EXPECT_EQ(sheet.At("A1").text, "Lumetra Report");
    EXPECT_EQ(sheet.At("A1").fontColour, kWhite);
    EXPECT_TRUE(sheet.At("A1").bold);
    EXPECT_EQ(sheet.At("A1").fontSize, 18);
    EXPECT_EQ(sheet.At("F1").interiorColour, kBlack);
    EXPECT_EQ(sheet.At("F1").text, "05/2004");
    EXPECT_EQ(sheet.At("F1").fontColour, kWhite);  // the later range operation wins
    EXPECT_EQ(sheet.At("B1").fontSize, 18);
    EXPECT_FALSE(sheet.At("B1").bold);
    EXPECT_EQ(sheet.Column('A').width, "1");
    EXPECT_EQ(sheet.Column('A').alignment, kAlignLeft);
    EXPECT_EQ(sheet.Column('F').width, "12");
    EXPECT_EQ(sheet.Column('C').alignment, kAlignRight);
    EXPECT_TRUE(sheet.At("A3").bold);
    EXPECT_FALSE(sheet.At("B3").bold);
    EXPECT_EQ(sheet.At("B3").interiorColour, kGrey);
    EXPECT_EQ(sheet.At("B3").fontColour, kWhite);
    EXPECT_EQ(Column(sheet, 'B', 3, 3)[0], "caption 104");
    EXPECT_EQ(sheet.At("C3").text, "caption 106");
    EXPECT_EQ(sheet.At("D3").text, "caption 105");
    EXPECT_EQ(sheet.At("E3").text, "caption 107");
    EXPECT_EQ(sheet.At("F3").text, "caption 127");
    EXPECT_EQ(sheet.At("B4").fontColour, kBlack);
}

TEST_F(SpreadsheetReport, AcrossTheYearWithALaterStartDay) {
    const std::vector<history::DayRecord> records = {Day(2003, 12, 14), Day(2003, 12, 15), Day(2004, 1, 14),
                                                     Day(2004, 1, 15), Day(2003, 13, 2)};  // 13/2003: 2 January 2004
    const WorksheetModel january = Report(1, "01/2004", 15, records);
    EXPECT_EQ(Column(january, 'B', 4, 6), (std::vector<std::string>{"14.01.2004", "15.01.2004", "02.01.2004"}));
    EXPECT_NE(january.At("C7").text, "");
    const WorksheetModel december = Report(1, "12/2003", 15, records);
    EXPECT_EQ(Column(december, 'B', 4, 5), (std::vector<std::string>{"15.12.2003", ""}));
}

TEST_F(SpreadsheetReport, ADayRowReportsTheAccountingMonthThatHoldsIt) {
    const std::vector<history::DayRecord> records = {Day(2004, 5, 10), Day(2004, 5, 20)};
    const WorksheetModel sheet = Report(2, "20.05.2004", 15, records);
    EXPECT_EQ(sheet.At("F1").text, "05/2004");
    EXPECT_EQ(Column(sheet, 'B', 4, 5), (std::vector<std::string>{"20.05.2004", ""}));

    history::SetLanguageIndex(1);
    const WorksheetModel english = Report(2, "05/20/2004", 1, records);
    EXPECT_EQ(english.At("F1").text, "05/2004");
    EXPECT_EQ(Column(english, 'B', 4, 5), (std::vector<std::string>{"05/10/2004", "05/20/2004"}));
}

TEST_F(SpreadsheetReport, SumRowsAndZeroTotalsGiveNoLinesOrNoTotals) {
    const WorksheetModel sum = Report(2, "Sum", 1, {Day(2004, 5, 10)});
    EXPECT_EQ(sum.WrittenCells().size(), 8u);  // title, F1, five captions and A3
    EXPECT_EQ(sum.At("F1").text, "");

    const WorksheetModel zero = Report(1, "05/2004", 1, {Day(2004, 5, 1, 0, 100), Day(2004, 5, 2, 0, 50)});
    EXPECT_NE(zero.At("B5").text, "");
    EXPECT_EQ(zero.At("C6").text, "");
    EXPECT_FALSE(zero.At("A6").bold);
}

TEST_F(SpreadsheetReport, WrittenCellsRowByRow) {
    const WorksheetModel sheet = Report(1, "05/2004", 1, {Day(2004, 5, 2, 1e6, 1e6, 61)});
    const std::vector<std::string> cells = sheet.WrittenCells();
    ASSERT_GE(cells.size(), 17u);
    EXPECT_EQ(cells[0], "A1\tLumetra Report");
    EXPECT_EQ(cells[1], "F1\t05/2004");
    EXPECT_EQ(cells[2], "A3\t");
    EXPECT_EQ(cells[3], "B3\tcaption 104");
    EXPECT_EQ(cells[8], "B4\t02.05.2004");
    EXPECT_EQ(cells.back(), "F5\t 00:01:01");
}

TEST_F(SpreadsheetReport, TheWholeCommandReadsTheHistoryAfresh) {
    history::TempDir folder;
    const std::string path = folder.Path("volume.hst");
    folder.Path("volume.hst_backup");
    std::ofstream(path, std::ios::binary) << history::RecordBytes({Day(2004, 5, 2), Day(2004, 6, 1)});
    std::string texts[4] = {"Mai", "", "", "05/2004"};

    WorksheetModel refused;
    refused.refuseStart = true;
    EXPECT_EQ(BuildSpreadsheetReport(refused, 1, texts, 1, path, Caption), ReportOutcome::kNotStarted);
    EXPECT_TRUE(refused.WrittenCells().empty());
    EXPECT_FALSE(history::FileExists(path + "_backup"));  // not even the backup was touched

    WorksheetModel sheet;
    EXPECT_EQ(BuildSpreadsheetReport(sheet, 1, texts, 1, path, Caption), ReportOutcome::kShown);
    EXPECT_EQ(sheet.At("B4").text, "02.05.2004");
    EXPECT_TRUE(sheet.visible);
    EXPECT_TRUE(sheet.userControl);
    EXPECT_TRUE(history::FileExists(path + "_backup"));

    // A history that is there but cannot be read is no empty month: the caller is told.
    WorksheetModel unread;
    EXPECT_EQ(BuildSpreadsheetReport(unread, 1, texts, 1, folder.path(), Caption), ReportOutcome::kHistoryUnreadable);
    EXPECT_TRUE(unread.visible);
    EXPECT_FALSE(unread.At("B4").written);
}

TEST_F(SpreadsheetReport, OperationsInTheirOrder) {
    history::TempDir folder;
    const std::string path = folder.Path("volume.hst");
    folder.Path("volume.hst_backup");
    std::ofstream(path, std::ios::binary) << history::RecordBytes({Day(2004, 5, 2, 1e6, 2e6, 61)});
    std::string texts[4] = {"Mai", "", "", "05/2004"};
    WorksheetModel sheet;
    OperationLog log(sheet);
    BuildSpreadsheetReport(log, 1, texts, 1, path, Caption);
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "StartApplication(Lumetra Report)",
                             "SetColumnWidth(A1|1)",
                             "SetColumnAlignment(A1|-4131)",
                             "SetColumnWidth(B1|12)",
                             "SetColumnAlignment(B1|-4152)",
                             "SetColumnWidth(C1|12)",
                             "SetColumnAlignment(C1|-4152)",
                             "SetColumnWidth(D1|12)",
                             "SetColumnAlignment(D1|-4152)",
                             "SetColumnWidth(E1|12)",
                             "SetColumnAlignment(E1|-4152)",
                             "SetColumnWidth(F1|12)",
                             "SetColumnAlignment(F1|-4152)",
                             "SetHeaderBand(A3|F3|)",
                             "SetCell(B3|caption 104|1)",
                             "SetCell(F3|caption 127|1)",
                             "SetCell(E3|caption 107|1)",
                             "SetCell(D3|caption 105|1)",
                             "SetCell(C3|caption 106|1)",
                             "SetFontColor(A3|F3|2)",
                             "SetCell(F1|05/2004|1)",
                             "SetFontColor(E1|F1|2)",
                             "SetFontSize(B1|F1|18)",
                             "SetCell(B4|02.05.2004|1)",
                             "SetCell(C4|976.6 KB|1)",
                             "SetCell(D4|1.9 MB|1)",
                             "SetCell(E4|2.9 MB|1)",
                             "SetCell(F4| 00:01:01|1)",
                             "SetCell(C5|976.6 KB|1)",
                             "SetCell(D5|1.9 MB|1)",
                             "SetCell(E5|2.9 MB|1)",
                             "SetCell(F5| 00:01:01|1)",
                             "SetBold(A5|F5)",
                             "SetUnderline(A5|F5)",
                             "ShowToUser()",
                         }));
}

}  // namespace
}  // namespace report
