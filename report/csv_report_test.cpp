#include "csv_report.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <string>
#include <vector>

#include "app_texts.h"
#include "history_summary.h"
#include "language.h"
#include "settings_store.h"
#include "test_files.h"

namespace report {
namespace {

using history::Day;

class CsvReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        history::SetLanguageIndex(0);
        history::SetCurrentSettings(history::MonitorSettings{});
        history::CalendarDate::ReloadNames();
    }
    void TearDown() override {
        history::SetLanguageIndex(0);
        history::CalendarDate::ReloadNames();
    }

    // The file of a row, as the viewer and histdump write it, in the language's own texts.
    static std::string Csv(int language, int level, const std::string& text,
                           const std::vector<history::DayRecord>& records, int startDay = 1) {
        history::SetLanguageIndex(language);
        history::CalendarDate::ReloadNames();
        const history::HistorySummary summary =
            history::BuildHistorySummary(records, history::CalendarDate(8, 12, 2026), startDay);
        return CsvOfDayRows(summary, SelectCsvRows(summary, level, text), history::LoadAppText(kCsvCaptionsId),
                            CsvSeparator(history::CurrentDateStyle()));
    }
};

const std::vector<history::DayRecord> kRecords = {
    Day(2003, 12, 30, 1.5, -2.5, 100),         // an impossible upload: none to write
    Day(2003, 13, 2, 1048576.4, 512.5, 3725),  // shown as 2 January 2004
    Day(2004, 1, 2, 0.5, 0, 90000),            // the same day: one row; seconds above a day count 0
    Day(2004, 1, 2, 1e15, 3, 86400),           // a full day online counts
    Day(2004, 1, 2, std::nan(""), 1e300, 0),   // impossible: left out of the day's sums
    Day(2004, 2, 31, 7, 8, 9),                 // a day February has not, as stored
    Day(2004, 3, 1, 1.0 / 0.0, 1, 1),          // no possible download: the field stays empty
    Day(2026, 12, 9, 5, 5, 5),                 // after today: not shown
};

TEST_F(CsvReportTest, TheBytesInBothLanguages) {
    EXPECT_EQ(Csv(0, 1, "01/2004", kRecords),
              "Datum;Download (Bytes);Upload (Bytes);Summe (Bytes);Onlinezeit (s)\r\n"
              "2004-01-02;1000000001048577;516;1000000001049093;90125\r\n");
    EXPECT_EQ(Csv(1, 1, "12/2003", kRecords),
              "Date,Download (bytes),Upload (bytes),Total (bytes),Online time (s)\r\n"
              "2003-12-30,2,,2,100\r\n");
    // A year: every day row of it, in tree order, without the sum rows.
    EXPECT_EQ(Csv(0, 0, "2004", kRecords),
              "Datum;Download (Bytes);Upload (Bytes);Summe (Bytes);Onlinezeit (s)\r\n"
              "2004-01-02;1000000001048577;516;1000000001049093;90125\r\n"
              "2004-02-31;7;8;15;9\r\n"
              "2004-03-01;;1;1;1\r\n");
    // A day row gives the days of its month row; with start day 15, 2 January belongs to the month
    // that the year opened.
    const std::string february = Csv(1, 2, "02/31/2004", kRecords);
    EXPECT_EQ(february.substr(february.find("\r\n") + 2), "2004-02-31,7,8,15,9\r\n");
    EXPECT_EQ(Csv(0, 2, "02.01.2004", kRecords, 15), Csv(0, 1, "01/2004", kRecords, 15));
    // No such row: the captions alone.
    EXPECT_EQ(Csv(0, 1, "07/2004", kRecords), "Datum;Download (Bytes);Upload (Bytes);Summe (Bytes);Onlinezeit (s)\r\n");
}

TEST_F(CsvReportTest, FileNamesNameTheYearOrTheMonth) {
    const struct {
        int level;
        std::string text, name;
    } cases[] = {
        {0, "2004", "Lumetra 2004.csv"},
        {1, "01/2004", "Lumetra 2004-01.csv"},
        {2, "31.02.2004", "Lumetra 2004-02.csv"},
        {2, "Sum", "Lumetra 2004-01.csv"},  // December 2003 counts no upload: no sum row
        {1, "07/2004", "Lumetra.csv"},
    };
    const history::HistorySummary summary =
        history::BuildHistorySummary(kRecords, history::CalendarDate(8, 12, 2026), 1);
    for (const auto& c : cases)
        EXPECT_EQ(CsvFileName(summary, SelectCsvRows(summary, c.level, c.text)), c.name) << c.text;
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
    unsigned long error = 1;
    EXPECT_TRUE(WriteFileReplacing(path, bytes, sound, &error));
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(history::ReadBytes(path), bytes);
    EXPECT_FALSE(history::FileExists(fresh));
    // A folder that does not exist: the cause comes back for the user.
    EXPECT_FALSE(WriteFileReplacing(folder.path() + "/none/x.csv", bytes, history::RealFileSystem(), &error));
#ifdef _WIN32
    EXPECT_EQ(error, 3u);  // ERROR_PATH_NOT_FOUND
#else
    EXPECT_EQ(error, static_cast<unsigned long>(ENOENT));
#endif
}

}  // namespace
}  // namespace report
