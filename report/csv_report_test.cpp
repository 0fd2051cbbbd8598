#include "csv_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language.h"
#include "settings_store.h"
#include "test_files.h"

namespace report {
namespace {

using history::Day;

std::string Caption(int id) {
    return "caption " + std::to_string(id);
}

class CsvReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        history::SetLanguageIndex(0);
        history::SetCurrentSettings(history::MonitorSettings{});
    }
    void TearDown() override { history::SetLanguageIndex(0); }

    static std::string Csv(int language, int level, const std::string& text,
                           const std::vector<history::DayRecord>& records) {
        history::SetLanguageIndex(language);
        std::string texts[4];
        (level == 1 ? texts[3] : texts[0]) = text;
        return CsvReport(BuildReportTable(ReportPeriodOf(level, texts, 1), records, Caption),
                         CsvStyleOfLanguage(language));
    }
};

TEST_F(CsvReportTest, TheBytesInBothLanguages) {
    const std::vector<history::DayRecord> records = {Day(2004, 5, 2, 1572864, 512, 3725),
                                                     Day(2004, 6, 1, 9e9, 9e9, 10),  // outside the period
                                                     Day(2004, 5, 3, 3 * 1073741824.0, 1048576, 360000)};
    EXPECT_EQ(Csv(0, 1, "05/2004", records),
              "Lumetra Report;;;;;;;05/2004\r\n"
              "caption 104;caption 106;;caption 105;;caption 107;;caption 127\r\n"
              "02.05.2004;1,5;MB;0,5;KB;1,5;MB;01:02:05\r\n"
              "03.05.2004;3,0;GB;1,0;MB;3,0;GB;00:00:00\r\n"
              ";3,0;GB;1,0;MB;3,0;GB;01:02:05\r\n");
    EXPECT_EQ(Csv(1, 2, "05/03/2004", records),
              "Lumetra Report,,,,,,,05/03/2004\r\n"
              "caption 104,caption 106,,caption 105,,caption 107,,caption 127\r\n"
              "05/02/2004,1.5,MB,0.5,KB,1.5,MB,01:02:05\r\n"
              "05/03/2004,3.0,GB,1.0,MB,3.0,GB,00:00:00\r\n"
              ",3.0,GB,1.0,MB,3.0,GB,01:02:05\r\n");
    // Bits, a total of zero (no totals line) and a month without records.
    history::MonitorSettings bits;
    bits.DisplayBytes = 0;
    history::SetCurrentSettings(bits);
    EXPECT_EQ(Csv(0, 1, "05/2004", {Day(2004, 5, 2, 1536, 0, 86400)}),
              "Lumetra Report;;;;;;;05/2004\r\n"
              "caption 104;caption 106;;caption 105;;caption 107;;caption 127\r\n"
              "02.05.2004;12,3;kbits;0,0;Kbits;12,3;kbits;24:00:00\r\n");
    EXPECT_EQ(Csv(0, 1, "07/2004", records),
              "Lumetra Report;;;;;;;07/2004\r\n"
              "caption 104;caption 106;;caption 105;;caption 107;;caption 127\r\n");
}

TEST_F(CsvReportTest, FieldsInQuotesOnlyWhereTheyMustBe) {
    ReportTable table;
    table.title = "a;b";
    table.periodLabel = "say \"hi\"";
    table.captions[0] = "x,y";
    table.captions[1] = "two\r\nlines";
    ReportLine line;
    line.date = "-1.05.2004";
    line.download = "-2.0 KB";
    line.upload = "nan KB";
    line.both = "inf GB";
    line.online = "100:00:00";
    table.lines.push_back(line);
    EXPECT_EQ(CsvReport(table, CsvStyle{';', ','}),
              "\"a;b\";;;;;;;\"say \"\"hi\"\"\"\r\n"
              "x,y;\"two\r\nlines\";;;;;;\r\n"
              "-1.05.2004;-2,0;KB;nan;KB;inf;GB;100:00:00\r\n");
    EXPECT_EQ(CsvReport(table, CsvStyle{',', '.'}),
              "a;b,,,,,,,\"say \"\"hi\"\"\"\r\n"
              "\"x,y\",\"two\r\nlines\",,,,,,\r\n"
              "-1.05.2004,-2.0,KB,nan,KB,inf,GB,100:00:00\r\n");
}

TEST_F(CsvReportTest, FileNamesCarryTheChosenMonth) {
    const struct {
        int language, level, startDay;
        std::string text, name;
    } cases[] = {
        {0, 1, 1, "11/2026", "Lumetra 2026-11.csv"},    {0, 1, 15, "01/2004", "Lumetra 2004-01.csv"},
        {0, 2, 1, "20.05.2004", "Lumetra 2004-05.csv"}, {1, 2, 1, "12/31/2003", "Lumetra 2003-12.csv"},
        {0, 1, 1, "13/2004", "Lumetra 2005-01.csv"},    {0, 2, 1, "Sum", "Lumetra Report.csv"},
    };
    for (const auto& c : cases) {
        history::SetLanguageIndex(c.language);
        std::string texts[4];
        (c.level == 1 ? texts[3] : texts[0]) = c.text;
        EXPECT_EQ(CsvFileName(ReportPeriodOf(c.level, texts, c.startDay)), c.name) << c.text;
    }
}

// A file system whose first call of one kind fails.
class FaultyFiles : public history::FileSystem {
public:
    enum Step { kOpen, kWrite, kFlush, kClose, kReplace, kNone };
    explicit FaultyFiles(Step step) : step_(step) {}

    std::FILE* Open(const std::string& path, const char* mode) override {
        return step_ == kOpen ? nullptr : FileSystem::Open(path, mode);
    }
    bool Write(std::FILE* file, const void* data, std::size_t size) override {
        if (step_ == kWrite) {
            FileSystem::Write(file, data, size / 2);  // a full disk takes part of it
            return false;
        }
        return FileSystem::Write(file, data, size);
    }
    bool Flush(std::FILE* file) override { return step_ != kFlush && FileSystem::Flush(file); }
    bool Close(std::FILE* file) override { return FileSystem::Close(file) && step_ != kClose; }
    bool Replace(const std::string& from, const std::string& to) override {
        return step_ != kReplace && FileSystem::Replace(from, to);
    }

private:
    Step step_;
};

TEST_F(CsvReportTest, AFailedWriteLeavesNoHalfFile) {
    history::TempDir folder;
    const std::string path = folder.Path("Lumetra 2004-05.csv");
    const std::string fresh = folder.Path("Lumetra 2004-05.csv.tmp");
    const std::string bytes(100000, 'x');
    for (FaultyFiles::Step step :
         {FaultyFiles::kOpen, FaultyFiles::kWrite, FaultyFiles::kFlush, FaultyFiles::kClose, FaultyFiles::kReplace}) {
        for (bool existed : {false, true}) {
            std::remove(path.c_str());
            if (existed)
                folder.Write("Lumetra 2004-05.csv", "old");
            FaultyFiles files(step);
            EXPECT_FALSE(WriteFileReplacing(path, bytes, files)) << step;
            EXPECT_EQ(history::FileExists(path), existed) << step;
            if (existed) {
                EXPECT_EQ(history::ReadBytes(path), "old") << step;
            }
            EXPECT_FALSE(history::FileExists(fresh)) << step;
        }
    }
    FaultyFiles sound(FaultyFiles::kNone);
    EXPECT_TRUE(WriteFileReplacing(path, bytes, sound));
    EXPECT_EQ(history::ReadBytes(path), bytes);
    EXPECT_FALSE(history::FileExists(fresh));
    // A folder that does not exist.
    EXPECT_FALSE(WriteFileReplacing(folder.path() + "/none/x.csv", bytes));
}

}  // namespace
}  // namespace report
