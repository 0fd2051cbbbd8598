#include "record_targets.h"

#include <gtest/gtest.h>

#include <cmath>

#include "language.h"

namespace viewer {
namespace {

class RecordTargets : public ::testing::Test {
protected:
    // The month names the rows are labelled with come in the language set here.
    void SetUp() override {
        history::SetLanguageIndex(0);
        history::CalendarDate::ReloadNames();
    }
    void TearDown() override {
        history::SetLanguageIndex(0);
        history::CalendarDate::ReloadNames();
    }
};

history::DayRecord Day(int year, int month, int day) {
    history::DayRecord r;
    r.year = year;
    r.month = month;
    r.day = day;
    r.downloadBytes = r.uploadBytes = 1048576;
    return r;
}

// A row's records are those it shows, whatever other rows carry the same date or month.
TEST_F(RecordTargets, ARowActsOnTheRecordsItShows) {
    const std::vector<history::DayRecord> records = {
        Day(2025, 3, 1),  Day(2025, 3, 10), Day(2025, 3, 20), Day(2025, 4, 5),  Day(2025, 4, 20),
        Day(2025, 3, 15), Day(2025, 3, 15), Day(2026, 1, 9),  Day(2025, 3, 16), Day(2025, 5, 1)};
    const history::CalendarDate today(1, 1, 2026);  // 9 January 2026 lies ahead
    struct Case {
        int startDay;
        int level;
        std::string texts[4];
        int hint;
        std::vector<std::size_t> positions;
    } cases[] = {
        {1, 0, {"2025", "", "", ""}, 0, {0, 1, 2, 3, 4, 5, 6, 8, 9}},  // the day ahead is not shown
        {1, 1, {"M\xe4rz", "", "", "03/2025"}, 1, {0, 1, 2}},
        // The second March row: only its own days, the repeated 15th as one row of two records.
        {1, 1, {"M\xe4rz", "", "", "03/2025"}, 10, {5, 6, 8}},
        {1, 2, {"15.03.2025", "", "", ""}, 11, {5, 6}},
        // With start day 15 the first March row runs to 5 April, and 1 May stays under the second.
        {15, 1, {"M\xe4rz", "", "", "03/2025"}, 1, {0, 1, 2, 3}},
        {15, 1, {"April", "", "", "04/2025"}, 7, {4}},
        {15, 1, {"M\xe4rz", "", "", "03/2025"}, 10, {5, 6, 8, 9}},
        // A hint that no longer fits: the first row of that label.
        {1, 1, {"M\xe4rz", "", "", "03/2025"}, 3, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        const history::HistorySummary summary = history::BuildHistorySummary(records, today, c.startDay);
        const int row = FindClickedRow(summary, c.level, c.texts, c.hint);
        ASSERT_GE(row, 0) << c.texts[0] << " at " << c.hint;
        EXPECT_EQ(RecordsOfRow(summary.rows[row], records, today), c.positions) << c.texts[0] << " at " << c.hint;
    }
    // Neither a sum row nor a row that is gone is anything to act on.
    const history::HistorySummary summary = history::BuildHistorySummary(records, today, 1);
    const std::string sum[4] = {"Sum", "", "", ""};
    const std::string gone[4] = {"Juni", "", "", "06/2025"};
    EXPECT_EQ(FindClickedRow(summary, 2, sum, 5), -1);
    EXPECT_EQ(FindClickedRow(summary, 1, gone, 1), -1);
}

TEST_F(RecordTargets, AFieldOfTheEditDialogStartsEmptyWithoutAPossibleVolume) {
    EXPECT_EQ(PrefillText(1572864, true), "1.50");
    EXPECT_EQ(PrefillText(0, true), "0.00");
    EXPECT_EQ(PrefillText(0, false), "");
}

TEST_F(RecordTargets, OnlyPastDayRowsOpenTheEditDialog) {
    const history::CalendarDate today(9, 12, 2026);
    EditTarget day = EditTargetOf(2, "08.12.2026", today);
    EXPECT_TRUE(day.opensDialog);
    EXPECT_EQ(day.date.day, 8);
    EXPECT_EQ(day.date.month, 12);
    EXPECT_EQ(day.date.year, 2026);

    EXPECT_FALSE(EditTargetOf(2, "09.12.2026", today).opensDialog);  // today
    const EditTarget sum = EditTargetOf(2, "Sum", today);
    EXPECT_FALSE(sum.opensDialog);
    EXPECT_TRUE(sum.date.Equals(today));
    EXPECT_FALSE(EditTargetOf(1, "Dezember", today).opensDialog);
}

TEST_F(RecordTargets, MegabyteTexts) {
    EXPECT_EQ(MegabytesText(1048576), "1.00");
    EXPECT_EQ(MegabytesText(0), "0.00");
    EXPECT_EQ(MegabytesText(1572864), "1.50");
    EXPECT_EQ(MegabytesText(3 * 1048576 + 5242), "3.00");
}

TEST_F(RecordTargets, TypedNumbersAreWholeDecimalsOfZeroOrMore) {
    const std::string tooLarge(400, '9');
    constexpr TypedVolume ok = TypedVolume::kAccepted, no = TypedVolume::kNoNumber, large = TypedVolume::kTooLarge;
    struct Case {
        const char* text;
        TypedVolume result;
        double bytes;
    } cases[] = {{"1.5", ok, 1572864},
                 {"2,5", ok, 2.5 * 1048576},
                 {" 1 ", ok, 1048576},
                 {"\t0\t", ok, 0},
                 {".5", ok, 524288},
                 {"3,", ok, 3 * 1048576},
                 {"007.25", ok, 7.25 * 1048576},
                 {"1030000000", ok, 1030000000 * 1048576.0},
                 {"abc", no, 0},
                 {"", no, 0},
                 {"  ", no, 0},
                 {",", no, 0},
                 {"-1", no, 0},
                 {"+1", no, 0},
                 {"2.25MB", no, 0},
                 {"1 000", no, 0},
                 {"1.234,5", no, 0},
                 {"1e3", no, 0},
                 {"inf", no, 0},
                 {"0x10", no, 0},
                 {"1030000000.01", large, 0},
                 {"99999999999999999999", large, 0},
                 {tooLarge.c_str(), large, 0}};
    for (const Case& c : cases) {
        double bytes = -1;
        EXPECT_EQ(BytesOfMegabytesText(c.text, bytes), c.result) << '"' << c.text << '"';
        EXPECT_EQ(bytes, c.bytes) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace viewer
