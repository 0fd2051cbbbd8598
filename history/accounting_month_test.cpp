#include "accounting_month.h"

#include <gtest/gtest.h>

#include <string>

namespace history {
namespace {

std::string Text(const CalendarDate& date) {
    return std::to_string(date.year) + "-" + std::to_string(date.month) + "-" + std::to_string(date.day);
}

TEST(AccountingMonth, NamedMonthsRunFromTheirClampedStartDayToTheDayBeforeTheNext) {
    struct Case {
        int startDay, month, year;
        const char* first;
        const char* last;
        int days;
    } cases[] = {
        {1, 2, 2024, "2024-2-1", "2024-2-29", 29},
        {15, 5, 2004, "2004-5-15", "2004-6-14", 31},
        {15, 1, 2004, "2004-1-1", "2004-2-14", 45},      // the year begins January
        {15, 12, 2004, "2004-12-15", "2004-12-31", 17},  // and ends December
        {31, 1, 2024, "2024-1-1", "2024-2-28", 59},
        {31, 2, 2024, "2024-2-29", "2024-3-30", 31},
        {31, 2, 2023, "2023-2-28", "2023-3-30", 31},
        {30, 2, 2024, "2024-2-29", "2024-3-29", 30},
        {30, 2, 2023, "2023-2-28", "2023-3-29", 30},
        {29, 2, 2023, "2023-2-28", "2023-3-28", 29},
        {29, 2, 2024, "2024-2-29", "2024-3-28", 29},
        {31, 4, 2023, "2023-4-30", "2023-5-30", 31},
        {0, 3, 2023, "2023-3-1", "2023-3-31", 31},  // below 1 is 1
        {-7, 3, 2023, "2023-3-1", "2023-3-31", 31},
        {32, 3, 2023, "2023-3-1", "2023-3-31", 31},  // above 31: the calendar month
    };
    for (const Case& c : cases) {
        const AccountingMonth period = AccountingMonthNamed(c.month, c.year, c.startDay);
        const std::string what = std::to_string(c.startDay) + " " + std::to_string(c.month);
        EXPECT_EQ(Text(period.first), c.first) << what;
        EXPECT_EQ(Text(period.last), c.last) << what;
        EXPECT_EQ(period.days, c.days) << what;
    }
}

TEST(AccountingMonth, EveryDayLiesInTheMonthThatOpensWithIt) {
    // Each day of a leap and a common year, for every start day: the month that holds it contains
    // it, and a day opens a month exactly where that month begins.
    for (int year : {2023, 2024}) {
        for (int startDay = -1; startDay <= 33; ++startDay) {
            for (std::int64_t n = DayNumber(year, 1, 1); n <= DayNumber(year, 12, 31); ++n) {
                const CalendarDate date = DateOfDayNumber(n);
                const AccountingMonth period = AccountingMonthOf(date, startDay);
                ASSERT_TRUE(period.Contains(date)) << Text(date) << " start " << startDay;
                const bool begins = period.first.Equals(date) && date.month != 1;
                if (startDay > 31)
                    continue;
                const bool opens = OpensAccountingMonth(date, startDay) &&
                                   date.day == AccountingStartDay(date.month, year, startDay) && date.month != 1;
                ASSERT_EQ(opens, begins) << Text(date) << " start " << startDay;
            }
        }
    }
    EXPECT_FALSE(OpensAccountingMonth(CalendarDate(31, 3, 2023), 32));
    EXPECT_TRUE(OpensAccountingMonth(CalendarDate(28, 2, 2023), 31));
    EXPECT_FALSE(OpensAccountingMonth(CalendarDate(27, 2, 2023), 31));
}

}  // namespace
}  // namespace history
