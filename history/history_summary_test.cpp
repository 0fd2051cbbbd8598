#include "history_summary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "language.h"
#include "settings_store.h"
#include "test_files.h"
#include "value_format.h"

namespace history {
namespace {

// A row as "level image text|c1|c2|c3|c4", unset columns as "-".
std::string Show(const SummaryRow& row) {
    std::string text = std::to_string(row.level) + " " + std::to_string(row.image) + " " + row.text;
    for (int c = 0; c < 4; ++c)
        text += "|" + (row.columnSet[c] ? row.columns[c] : std::string("-"));
    return text;
}

// Only the first columns of each row: "text" of every row in order.
std::vector<std::string> Texts(const HistorySummary& summary) {
    std::vector<std::string> texts;
    for (const SummaryRow& row : summary.rows)
        texts.push_back(row.text);
    return texts;
}

class HistorySummaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetLanguageIndex(0);
        SetCurrentSettings(MonitorSettings());
        CalendarDate::ReloadNames();
    }
    void TearDown() override {
        SetLanguageIndex(0);
        SetCurrentSettings(MonitorSettings());
        CalendarDate::ReloadNames();
    }
    const CalendarDate today_{8, 12, 2026};
};

TEST_F(HistorySummaryTest, EmptyHistoryHasNoRowsAndNoExpansion) {
    const HistorySummary summary = BuildHistorySummary({}, today_, 1);
    EXPECT_TRUE(summary.rows.empty());
    EXPECT_FALSE(summary.expand);
}

TEST_F(HistorySummaryTest, OnlyFutureRecordsStillAskForTheExpansionOfRowZero) {
    const HistorySummary summary = BuildHistorySummary({Day(2027, 1, 1), Day(2026, 12, 9)}, today_, 1);
    EXPECT_TRUE(summary.rows.empty());
    EXPECT_TRUE(summary.expand);
    EXPECT_EQ(summary.lastYearRow, 0u);
}

TEST_F(HistorySummaryTest, YearsMonthsDaysAndSumsWithAllColumns) {
    const HistorySummary summary =
        BuildHistorySummary({Day(2004, 5, 1, 1048576, 1536, 3725), Day(2004, 5, 2, 2097152, 512, 86400),
                             Day(2004, 6, 1, 1073741824, 1024, 90000)},
                            today_, 1);
    const std::vector<std::string> expected = {
        "0 0 2004|-|-|-|-",
        "1 1 Mai|-|-|05/2004|-",
        "2 3 01.05.2004|1.0 MB|1.5 KB|1.0 MB| 01:02:05",
        "2 2 02.05.2004|2.0 MB|0.5 KB|2.0 MB| 24:00:00",  // a Sunday; a full day online
        "2 4 Sum|3.0 MB|2.0 KB|3.0 MB| 25:02:05",         // counts for the month
        "1 1 Juni|-|-|06/2004|-",
        "2 3 01.06.2004|1.0 GB|1.0 KB|1.0 GB| 00:00:00",  // over a day: shown as 0
        "2 4 Sum|1.0 GB|1.0 KB|1.0 GB| 00:00:00",
    };
    ASSERT_EQ(summary.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Show(summary.rows[i]), expected[i]) << i;
    EXPECT_TRUE(summary.expand);
    EXPECT_EQ(summary.lastYearRow, 0u);
}

// Records of one date in a row are one day: its row shows their sums and every one counts for the
// month. The same date after another day opens a row of its own.
TEST_F(HistorySummaryTest, AdjacentRecordsOfADayMakeOneRowWithTheirSums) {
    const HistorySummary summary = BuildHistorySummary(
        {Day(2004, 5, 3, 1024, 1024, 100), Day(2004, 5, 3, 4096, 2048, 90000), Day(2004, 5, 3, 1024, 0, 86400),
         Day(2004, 5, 4, 1024, 1024, 60), Day(2004, 5, 4, 0, 0, 30), Day(2004, 5, 5, 1536, 512, 86400),
         Day(2004, 5, 5, 512, 512, 86400), Day(2004, 5, 3, 2048, 2048, -5)},
        today_, 1);
    const std::vector<std::string> expected = {
        "0 0 2004|-|-|-|-",
        "1 1 Mai|-|-|05/2004|-",
        // Three records; the seconds above a day count 0, 86400 stays.
        "2 3 03.05.2004|6.0 KB|3.0 KB|9.0 KB| 24:01:40",
        "2 3 04.05.2004|1.0 KB|1.0 KB|2.0 KB| 00:01:30",  // the second record holds no volume
        "2 3 05.05.2004|2.0 KB|1.0 KB|3.0 KB| 48:00:00",  // shown as it is above a day
        "2 3 03.05.2004|2.0 KB|2.0 KB|4.0 KB| 00:00:00",
        // Volumes of all eight; seconds of 0..86400 as they are shown.
        "2 4 Sum|11.0 KB|7.0 KB|18.0 KB| 72:03:10",
    };
    ASSERT_EQ(summary.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Show(summary.rows[i]), expected[i]) << i;
    EXPECT_EQ(summary.rows[2].downloadBytes, 6144.0);
    EXPECT_EQ(summary.rows[2].onlineSeconds, 86500);
    // A record that repeats the starting date of the walk still has a row to show it.
    EXPECT_EQ(Texts(BuildHistorySummary({Day(1980, -1, -1)}, today_, 1)),
              (std::vector<std::string>{"-1.-1.1980", "Sum"}));
}

TEST_F(HistorySummaryTest, AccountingMonthsFromTheStartDay) {
    EXPECT_EQ(
        Texts(BuildHistorySummary({Day(2004, 5, 12), Day(2004, 6, 3), Day(2004, 6, 11)}, today_, 10)),
        (std::vector<std::string>{"2004", "Mai", "12.05.2004", "03.06.2004", "Sum", "Juni", "11.06.2004", "Sum"}));
    EXPECT_EQ(
        Texts(BuildHistorySummary({Day(2004, 5, 20), Day(2004, 6, 10), Day(2004, 7, 5), Day(2004, 7, 20)}, today_, 15)),
        (std::vector<std::string>{"2004", "Mai", "20.05.2004", "10.06.2004", "05.07.2004", "Sum", "July", "20.07.2004",
                                  "Sum"}));
    // A start day of 0 or less is like 1; above 31 a year shows one month row.
    const std::vector<DayRecord> records = {Day(2004, 5, 1), Day(2004, 6, 1), Day(2005, 2, 1), Day(2005, 3, 1)};
    EXPECT_EQ(Texts(BuildHistorySummary(records, today_, -1)), Texts(BuildHistorySummary(records, today_, 1)));
    EXPECT_EQ(Texts(BuildHistorySummary(records, today_, 32)),
              (std::vector<std::string>{"2004", "Mai", "01.05.2004", "01.06.2004", "Sum", "2005", "Februar",
                                        "01.02.2005", "01.03.2005", "Sum"}));
}

// Start days past the end of a month begin it on its last day, so that every month has a row;
// January begins with its year.
TEST_F(HistorySummaryTest, StartDaysBeyondAMonthsEndBeginItOnItsLastDay) {
    struct Case {
        int startDay, year;
        std::vector<std::string> firstDays;  // the first day row under each month row
    } cases[] = {
        {31,
         2024,
         {"01.01.2024", "29.02.2024", "31.03.2024", "30.04.2024", "31.05.2024", "30.06.2024", "31.07.2024",
          "31.08.2024", "30.09.2024", "31.10.2024", "30.11.2024", "31.12.2024"}},
        {31,
         2023,
         {"01.01.2023", "28.02.2023", "31.03.2023", "30.04.2023", "31.05.2023", "30.06.2023", "31.07.2023",
          "31.08.2023", "30.09.2023", "31.10.2023", "30.11.2023", "31.12.2023"}},
        {30,
         2023,
         {"01.01.2023", "28.02.2023", "30.03.2023", "30.04.2023", "30.05.2023", "30.06.2023", "30.07.2023",
          "30.08.2023", "30.09.2023", "30.10.2023", "30.11.2023", "30.12.2023"}},
        {29,
         2024,
         {"01.01.2024", "29.02.2024", "29.03.2024", "29.04.2024", "29.05.2024", "29.06.2024", "29.07.2024",
          "29.08.2024", "29.09.2024", "29.10.2024", "29.11.2024", "29.12.2024"}},
        {29,
         2023,
         {"01.01.2023", "28.02.2023", "29.03.2023", "29.04.2023", "29.05.2023", "29.06.2023", "29.07.2023",
          "29.08.2023", "29.09.2023", "29.10.2023", "29.11.2023", "29.12.2023"}},
    };
    for (const Case& c : cases) {
        std::vector<DayRecord> records;
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= CalendarDate::DaysInMonth(month, c.year); ++day)
                records.push_back(Day(c.year, month, day));
        }
        const HistorySummary summary = BuildHistorySummary(records, today_, c.startDay);
        std::vector<std::string> firstDays;
        for (std::size_t i = 0; i + 1 < summary.rows.size(); ++i) {
            if (summary.rows[i].level == kLevelMonth)
                firstDays.push_back(summary.rows[i + 1].text);
        }
        EXPECT_EQ(firstDays, c.firstDays) << "start day " << c.startDay << ", " << c.year;
    }
}

// An impossible volume is shown as stored on its day row and left out of every total, each volume
// on its own; the summary counts the days that hold one.
TEST_F(HistorySummaryTest, ImpossibleVolumesAreShownButNotCounted) {
    const double nan = std::nan(""), inf = HUGE_VAL;
    const HistorySummary summary = BuildHistorySummary(
        {Day(2025, 3, 1, 1048576, 1024, 60), Day(2025, 3, 2, nan, 2048, 60), Day(2025, 3, 3, inf, -1, 60),
         Day(2025, 3, 3, 1024, 1024, 60), Day(2025, 3, 4, -1024, 1e300, 60), Day(2025, 3, 5, 4.9e-324, 1024, 60),
         Day(2025, 4, 1, nan, 1024, 60), Day(2025, 4, 2, nan, -inf, 60)},
        today_, 1);
    const std::vector<std::string> expected = {
        "0 0 2025|-|-|-|-", "1 1 M\xe4rz|-|-|03/2025|-", "2 3 01.03.2025|1.0 MB|1.0 KB|1.0 MB| 00:01:00",
        "2 2 02.03.2025|nan KB|2.0 KB|nan KB| 00:01:00",  // a Sunday
        "2 3 03.03.2025|inf GB|1.0 KB|inf GB| 00:02:00",
        "2 3 04.03.2025|-1.0 KB|" + FormatVolume(1e300, false) + "|" + FormatVolume(1e300 - 1024, false) + "| 00:01:00",
        "2 3 05.03.2025|0.0 KB|1.0 KB|1.0 KB| 00:01:00",  // a denormal is a possible volume
        // Only the possible volumes: the month's downloads of 1 MB and 1 KB, its uploads of 5 KB.
        "2 4 Sum|1.0 MB|5.0 KB|1.0 MB| 00:06:00", "1 1 April|-|-|04/2025|-",
        "2 3 01.04.2025|nan KB|1.0 KB|nan KB| 00:01:00", "2 3 02.04.2025|nan KB|-inf KB|nan KB| 00:01:00",
        // No possible download in April: no Sum row.
    };
    ASSERT_EQ(summary.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Show(summary.rows[i]), expected[i]) << i;
    EXPECT_EQ(summary.rows[7].downloadBytes, 1048576.0 + 1024 + 4.9e-324);
    EXPECT_EQ(summary.rows[7].uploadBytes, 5120.0);
    const SummaryRow& third = summary.rows[4];
    EXPECT_EQ(third.downloadBytes, 1024.0);
    EXPECT_TRUE(third.anyDownload && third.anyUpload && third.impossible);
    EXPECT_FALSE(summary.rows[9].anyDownload);
    EXPECT_FALSE(summary.rows[2].impossible);
    EXPECT_FALSE(summary.rows[6].impossible);
    EXPECT_EQ(summary.impossibleDays, 5u);
    EXPECT_EQ(summary.firstImpossibleDay, "02.03.2025");
}

TEST_F(HistorySummaryTest, AYearChangeClosesTheMonthAndTheSameMonthOfTheNextYearIsAMonthOfItsOwn) {
    const HistorySummary summary =
        BuildHistorySummary({Day(2003, 12, 30, 10, 10, 100), Day(2004, 1, 2, 20, 20, 50)}, today_, 1);
    EXPECT_EQ(Texts(summary), (std::vector<std::string>{"2003", "Dezember", "30.12.2003", "Sum", "2004", "Januar",
                                                        "02.01.2004", "Sum"}));
    EXPECT_EQ(summary.lastYearRow, 4u);
    EXPECT_EQ(Show(summary.rows[3]), "2 4 Sum|0.0 KB|0.0 KB|0.0 KB| 00:01:40");
    EXPECT_EQ(Show(summary.rows.back()), "2 4 Sum|0.0 KB|0.0 KB|0.0 KB| 00:00:50");
    // May 2003 and May 2004, also with a start day that the new year's first day lies before.
    for (int startDay : {1, 15}) {
        const HistorySummary same = BuildHistorySummary(
            {Day(2003, 5, 20, 10, 10, 100), Day(2004, 5, 1, 20, 20, 50), Day(2004, 5, 21, 20, 20, 50)}, today_,
            startDay);
        EXPECT_EQ(Texts(same), (std::vector<std::string>{"2003", "Mai", "20.05.2003", "Sum", "2004", "Mai",
                                                         "01.05.2004", "21.05.2004", "Sum"}))
            << startDay;
        EXPECT_EQ(same.rows[5].columns[2], "05/2004");
        EXPECT_EQ(same.rows.back().columns[3], " 00:01:40");
    }
}

TEST_F(HistorySummaryTest, MonthWithAZeroTotalGetsNoSum) {
    EXPECT_EQ(Texts(BuildHistorySummary({Day(2004, 5, 1, 100, 0), Day(2004, 6, 1, 0, 100)}, today_, 1)),
              (std::vector<std::string>{"2004", "Mai", "01.05.2004", "Juni", "01.06.2004"}));
}

TEST_F(HistorySummaryTest, StoredMonths13And0BelongToTheNeighbouringYears) {
    const HistorySummary summary =
        BuildHistorySummary({Day(2003, 12, 31), Day(2003, 13, 2), Day(2005, 0, 5)}, today_, 1);
    EXPECT_EQ(Texts(summary), (std::vector<std::string>{"2003", "Dezember", "31.12.2003", "Sum", "2004", "Januar",
                                                        "02.01.2004", "Sum", "Dezember", "05.12.2004", "Sum"}));
    EXPECT_EQ(summary.rows[5].columns[2], "01/2004");
}

TEST_F(HistorySummaryTest, DamagedRecordsShowAsStored) {
    // Years up to 1980 open no year row; months outside 0..13 have an empty name.
    const HistorySummary summary = BuildHistorySummary({Day(1980, 3, 1), Day(1850, 4, 2), Day(2004, 14, 3)}, today_, 1);
    EXPECT_EQ(Texts(summary), (std::vector<std::string>{"M\xe4rz", "01.03.1980", "Sum", "April", "02.04.1850", "Sum",
                                                        "2004", "", "03.14.2004", "Sum"}));
    EXPECT_EQ(summary.rows[7].columns[2], "14/2004");
    EXPECT_EQ(summary.lastYearRow, 6u);
}

TEST_F(HistorySummaryTest, EnglishTextsAndBitsMode) {
    SetLanguageIndex(1);
    CalendarDate::ReloadNames();
    MonitorSettings settings;
    settings.DisplayBytes = 0;
    SetCurrentSettings(settings);
    const HistorySummary summary = BuildHistorySummary({Day(2004, 10, 7, 1536, 100, 0)}, today_, 1);
    const std::vector<std::string> expected = {
        "0 0 2004|-|-|-|-",
        "1 1 Oktober|-|-|10/2004|-",
        "2 3 10/07/2004|12.3 kbits|0.8 Kbits|13.1 kbits| 00:00:00",
        "2 4 Sum|12.3 kbits|0.8 Kbits|13.1 kbits| 00:00:00",
    };
    ASSERT_EQ(summary.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Show(summary.rows[i]), expected[i]) << i;
}

TEST_F(HistorySummaryTest, HugeMonthSecondsDoNotOverflow) {
    // Alternating dates are all shown and summed: far past 2^31 seconds in one month.
    std::vector<DayRecord> records;
    for (int i = 0; i < 40000; ++i)
        records.push_back(Day(2004, 5, 1 + i % 2, 1, 1, 86399));
    const HistorySummary summary = BuildHistorySummary(records, today_, 1);
    EXPECT_EQ(summary.rows.back().columns[3], "959988:53:20");  // 40000 * 86399 s
}

}  // namespace
}  // namespace history
