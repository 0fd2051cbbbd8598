#include "record_targets.h"

#include <gtest/gtest.h>

#include <cmath>

#include "language.h"

namespace viewer {
namespace {

class RecordTargets : public ::testing::Test {
protected:
    void SetUp() override { history::SetLanguageIndex(0); }
    void TearDown() override { history::SetLanguageIndex(0); }
};

TEST_F(RecordTargets, RowsNameWhatIsDeleted) {
    struct Case {
        int level;
        std::string texts[4];
        DeleteTarget::Kind kind;
        int year, month, day;
    } cases[] = {
        {0, {"2004", "", "", ""}, DeleteTarget::kYear, 2004, 0, 0},
        {1, {"Mai", "", "", "05/2004"}, DeleteTarget::kMonth, 2004, 5, 0},
        {1, {"Dezember", "", "", "12/2003"}, DeleteTarget::kMonth, 2003, 12, 0},
        {1, {"x", "", "", ""}, DeleteTarget::kMonth, -1, 12, 0},  // no label: month 0 reads as December before
        {2, {"07.05.2004", "1 MB", "", ""}, DeleteTarget::kDay, 2004, 5, 7},
        {2, {"Sum", "", "", ""}, DeleteTarget::kNothing, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const DeleteTarget target = DeleteTargetOf(c.level, c.texts);
        EXPECT_EQ(target.kind, c.kind) << c.texts[0];
        EXPECT_EQ(target.year, c.year) << c.texts[0];
        EXPECT_EQ(target.month, c.month) << c.texts[0];
        EXPECT_EQ(target.day, c.day) << c.texts[0];
    }
}

TEST_F(RecordTargets, SlashedDayTextsReadMonthFirst) {
    history::SetLanguageIndex(1);
    const std::string texts[4] = {"05/07/2004", "", "", ""};
    const DeleteTarget target = DeleteTargetOf(2, texts);
    EXPECT_EQ(target.kind, DeleteTarget::kDay);
    EXPECT_EQ(target.month, 5);
    EXPECT_EQ(target.day, 7);
}

TEST_F(RecordTargets, OnlyPastDayRowsOpenTheEditDialog) {
    const history::CalendarDate today(9, 12, 2026);
    EditTarget day = EditTargetOf(2, "08.12.2026", today);
    EXPECT_TRUE(day.opensDialog);
    EXPECT_TRUE(day.sumsDay);
    EXPECT_EQ(day.date.day, 8);
    EXPECT_EQ(day.date.month, 12);
    EXPECT_EQ(day.date.year, 2026);

    EXPECT_FALSE(EditTargetOf(2, "09.12.2026", today).opensDialog);  // today
    const EditTarget sum = EditTargetOf(2, "Sum", today);
    EXPECT_FALSE(sum.opensDialog);
    EXPECT_FALSE(sum.sumsDay);
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
