#include "allowance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "settings_store.h"

namespace viewer {
namespace {

using history::CalendarDate;

constexpr double kGiB = 1073741824.0;
constexpr double kMiB = 1048576.0;

Allowance GigabytesOf(double gigabytes, AllowanceCounts counts = AllowanceCounts::kDownloadAndUpload) {
    Allowance allowance;
    allowance.on = true;
    allowance.gigabytes = gigabytes;
    allowance.counts = counts;
    return allowance;
}

DayVolume On(int day, int month, int year, double download, double upload = 0) {
    return DayVolume{CalendarDate(day, month, year), download, upload};
}

class AllowanceTest : public ::testing::Test {
protected:
    void SetUp() override { history::SetCurrentSettings(history::MonitorSettings{}); }
};

TEST_F(AllowanceTest, TypedAllowancesAreReadInGigabytesAndRefusedOutsideTheRange) {
    const struct {
        const char* text;
        AllowanceInput result;
        double gigabytes;
    } cases[] = {
        {"60", AllowanceInput::kAccepted, 60},         {" 2,5 ", AllowanceInput::kAccepted, 2.5},
        {"0.25", AllowanceInput::kAccepted, 0.25},     {"1000000", AllowanceInput::kAccepted, 1000000},
        {"abc", AllowanceInput::kNotANumber, 0},       {"", AllowanceInput::kNotANumber, 0},
        {"1.2.3", AllowanceInput::kNotANumber, 0},     {"5 GB", AllowanceInput::kNotANumber, 0},
        {"-", AllowanceInput::kNotANumber, 0},         {"0", AllowanceInput::kOutOfRange, 0},
        {"0,0", AllowanceInput::kOutOfRange, 0},       {"-5", AllowanceInput::kOutOfRange, 0},
        {"1000000,5", AllowanceInput::kOutOfRange, 0},
    };
    for (const auto& c : cases) {
        double gigabytes = -1;
        EXPECT_EQ(ParseAllowanceGigabytes(c.text, gigabytes), c.result) << c.text;
        EXPECT_EQ(gigabytes, c.gigabytes) << c.text;
    }
    EXPECT_EQ(AllowanceText(60, ','), "60");
    EXPECT_EQ(AllowanceText(2.5, ','), "2,5");
    EXPECT_EQ(AllowanceText(0.125, '.'), "0.125");
}

// The first and the last day of a period: what is left spread over the days left, today counted.
TEST_F(AllowanceTest, TheFirstAndTheLastDayOfARunningPeriod) {
    const AllowancePeriod november{CalendarDate(1, 11, 2026), CalendarDate(30, 11, 2026)};
    const std::vector<DayVolume> days = {On(31, 10, 2026, 50 * kGiB), On(1, 11, 2026, 2 * kGiB, 1 * kGiB),
                                         On(30, 11, 2026, 6 * kGiB), On(1, 12, 2026, 50 * kGiB)};

    AllowanceFigures first = AllowanceFiguresOf(GigabytesOf(60), november, days, CalendarDate(1, 11, 2026));
    EXPECT_EQ(first.when, AllowanceFigures::When::kRunning);
    EXPECT_EQ(first.periodDays, 30);
    EXPECT_EQ(first.elapsedDays, 1);
    EXPECT_EQ(first.daysLeft, 30);
    // The last day's record is already in the file (a clock set back); it counts as the period's.
    EXPECT_DOUBLE_EQ(first.used, 9 * kGiB);
    EXPECT_DOUBLE_EQ(first.PerDayLeft(), 51 * kGiB / 30);
    EXPECT_DOUBLE_EQ(first.EvenShare(), 2 * kGiB);
    EXPECT_DOUBLE_EQ(first.Forecast(), 9 * kGiB * 30);
    EXPECT_TRUE(first.ForecastOver());

    AllowanceFigures last = AllowanceFiguresOf(GigabytesOf(60), november, days, CalendarDate(30, 11, 2026));
    EXPECT_EQ(last.elapsedDays, 30);
    EXPECT_EQ(last.daysLeft, 1);
    EXPECT_DOUBLE_EQ(last.PerDayLeft(), 51 * kGiB);
    EXPECT_DOUBLE_EQ(last.Forecast(), 9 * kGiB);
    EXPECT_DOUBLE_EQ(last.ForecastShare(), 0.15);
    EXPECT_FALSE(last.ForecastOver());

    const AllowanceFigures past = AllowanceFiguresOf(GigabytesOf(60), november, days, CalendarDate(1, 12, 2026));
    EXPECT_EQ(past.when, AllowanceFigures::When::kPast);
    EXPECT_EQ(past.daysLeft, 0);
    EXPECT_FALSE(past.ForecastOver());
    EXPECT_EQ(AllowanceFiguresOf(GigabytesOf(60), november, days, CalendarDate(31, 10, 2026)).when,
              AllowanceFigures::When::kFuture);
}

TEST_F(AllowanceTest, StartDayFifteenAcrossTheYearsEnd) {
    const AllowancePeriod period{CalendarDate(15, 12, 2025), CalendarDate(14, 1, 2026)};
    const std::vector<DayVolume> days = {On(14, 12, 2025, 7 * kGiB), On(15, 12, 2025, 1 * kGiB),
                                         On(31, 12, 2025, 2 * kGiB), On(1, 1, 2026, 3 * kGiB),
                                         On(14, 1, 2026, 4 * kGiB),  On(15, 1, 2026, 7 * kGiB)};
    const AllowanceFigures figures = AllowanceFiguresOf(GigabytesOf(31), period, days, CalendarDate(1, 1, 2026));
    EXPECT_EQ(figures.periodDays, 31);
    EXPECT_EQ(figures.elapsedDays, 18);
    EXPECT_EQ(figures.daysLeft, 14);
    EXPECT_DOUBLE_EQ(figures.used, 10 * kGiB);
    EXPECT_DOUBLE_EQ(figures.EvenShare(), 1 * kGiB);
    EXPECT_DOUBLE_EQ(figures.PerDayLeft(), 21 * kGiB / 14);
    EXPECT_DOUBLE_EQ(figures.Forecast(), 10 * kGiB / 18 * 31);
}

// Start day 30 in a leap year: January's period ends on 28 February, February's begins on the 29th.
TEST_F(AllowanceTest, ALeapFebruaryWithStartDayThirty) {
    const std::vector<DayVolume> days = {On(29, 1, 2024, 5 * kGiB), On(30, 1, 2024, 1 * kGiB),
                                         On(28, 2, 2024, 2 * kGiB), On(29, 2, 2024, 4 * kGiB),
                                         On(29, 3, 2024, 8 * kGiB), On(30, 3, 2024, 16 * kGiB)};
    const AllowancePeriod january{CalendarDate(30, 1, 2024), CalendarDate(28, 2, 2024)};
    const AllowancePeriod february{CalendarDate(29, 2, 2024), CalendarDate(29, 3, 2024)};
    const AllowanceFigures lastOfJanuary =
        AllowanceFiguresOf(GigabytesOf(30), january, days, CalendarDate(28, 2, 2024));
    EXPECT_EQ(lastOfJanuary.periodDays, 30);
    EXPECT_EQ(lastOfJanuary.daysLeft, 1);
    EXPECT_DOUBLE_EQ(lastOfJanuary.used, 3 * kGiB);
    const AllowanceFigures firstOfFebruary =
        AllowanceFiguresOf(GigabytesOf(30), february, days, CalendarDate(29, 2, 2024));
    EXPECT_EQ(firstOfFebruary.periodDays, 30);
    EXPECT_EQ(firstOfFebruary.elapsedDays, 1);
    EXPECT_EQ(firstOfFebruary.daysLeft, 30);
    EXPECT_DOUBLE_EQ(firstOfFebruary.used, 12 * kGiB);
    EXPECT_EQ(AllowanceFiguresOf(GigabytesOf(30), january, days, CalendarDate(29, 2, 2024)).when,
              AllowanceFigures::When::kPast);
}

TEST_F(AllowanceTest, UsedExactlyAtAndOverTheAllowanceAndDownloadOnly) {
    const AllowancePeriod period{CalendarDate(1, 4, 2026), CalendarDate(30, 4, 2026)};
    const CalendarDate today(11, 4, 2026);
    const AllowanceCaptions captions{"Allowance %1",
                                     "Used %1 (%2)",
                                     "Left %1",
                                     "Over by %1",
                                     "%1 per day for %2 days",
                                     "%1 for today",
                                     "Forecast %1 of the allowance",
                                     "%1 of the allowance"};
    auto texts = [&](const AllowanceFigures& figures) {
        std::string out;
        for (const AllowancePiece& piece : AllowancePieces(figures, captions))
            out += (out.empty() ? "" : " | ") + piece.text + (piece.warning ? " !" : "");
        return out;
    };

    const std::vector<DayVolume> exactly = {On(1, 4, 2026, 6 * kGiB, 2 * kGiB),
                                            On(10, 4, 2026, 1.5 * kGiB, 0.5 * kGiB)};
    const AllowanceFigures at = AllowanceFiguresOf(GigabytesOf(10), period, exactly, today);
    EXPECT_FALSE(at.Over());
    EXPECT_EQ(at.PerDayLeft(), 0);
    EXPECT_EQ(texts(at),
              "Allowance 10.0 GB | Used 10.0 GB (100 %) | Left 0.0 KB | 0.0 KB per day for 20 days | "
              "Forecast 273 % of the allowance !");

    const std::vector<DayVolume> over = {On(1, 4, 2026, 6 * kGiB, 2 * kGiB), On(10, 4, 2026, 3 * kGiB, 0.5 * kGiB)};
    const AllowanceFigures beyond = AllowanceFiguresOf(GigabytesOf(10), period, over, today);
    EXPECT_TRUE(beyond.Over());
    EXPECT_DOUBLE_EQ(beyond.Left(), -1.5 * kGiB);
    EXPECT_EQ(texts(beyond),
              "Allowance 10.0 GB | Used 11.5 GB (115 %) | Over by 1.5 GB ! | 0.0 KB per day for 20 "
              "days | Forecast 314 % of the allowance !");
    // A past month: its share and its overage, nothing of days left.
    EXPECT_EQ(texts(AllowanceFiguresOf(GigabytesOf(10), period, over, CalendarDate(1, 5, 2026))),
              "Allowance 10.0 GB | Used 11.5 GB (115 %) | Over by 1.5 GB !");

    // Counting only the downloads, the same days stay under it.
    const AllowanceFigures downloads =
        AllowanceFiguresOf(GigabytesOf(10, AllowanceCounts::kDownloadOnly), period, over, CalendarDate(30, 4, 2026));
    EXPECT_DOUBLE_EQ(downloads.used, 9 * kGiB);
    EXPECT_EQ(texts(downloads),
              "Allowance 10.0 GB | Used 9.0 GB (90 %) | Left 1.0 GB | 1.0 GB for today | "
              "Forecast 90 % of the allowance");
}

// A damaged record's volume counts nowhere; the largest possible one does.
TEST_F(AllowanceTest, AnImpossibleVolumeInThePeriodIsNotCounted) {
    const AllowancePeriod period{CalendarDate(1, 4, 2026), CalendarDate(30, 4, 2026)};
    const double largest = 1030000000.0 * kMiB;
    const std::vector<DayVolume> days = {
        On(2, 4, 2026, 1 * kGiB, std::numeric_limits<double>::quiet_NaN()),
        On(3, 4, 2026, -5 * kGiB, 1 * kGiB),
        On(4, 4, 2026, std::numeric_limits<double>::infinity(), 0),
        On(5, 4, 2026, largest * 2, 0),
        On(6, 4, 2026, largest, 0),
    };
    const AllowanceFigures figures = AllowanceFiguresOf(GigabytesOf(60), period, days, CalendarDate(10, 4, 2026));
    EXPECT_DOUBLE_EQ(figures.used, 2 * kGiB + largest);
    EXPECT_TRUE(std::isfinite(figures.Forecast()));
}

}  // namespace
}  // namespace viewer
