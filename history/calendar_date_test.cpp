#include "calendar_date.h"

#include <gtest/gtest.h>

#include "app_texts.h"
#include "language.h"

namespace history {
namespace {

class CalendarDateTest : public ::testing::Test {
protected:
    void TearDown() override { SetLanguageIndex(0); }
};

TEST_F(CalendarDateTest, TextFollowsTheLanguagesDateStyle) {
    const CalendarDate date(5, 7, 2004);
    SetLanguageIndex(0);
    EXPECT_EQ(date.ToText(), "05.07.2004");
    SetLanguageIndex(1);
    EXPECT_EQ(date.ToText(), "07/05/2004");
    SetLanguageIndex(5);
    EXPECT_EQ(date.ToText(), "07/05/2004");
    SetLanguageIndex(-1);
    EXPECT_EQ(date.ToText(), "05.07.2004");
    // The year takes as many digits as it has.
    EXPECT_EQ(CalendarDate(1, 2, 12345).ToText(), "01.02.12345");
}

TEST_F(CalendarDateTest, ParseTextReadsBackBothStyles) {
    CalendarDate date;
    SetLanguageIndex(0);
    date.ParseText("05.07.2004");
    EXPECT_EQ(date.day, 5);
    EXPECT_EQ(date.month, 7);
    EXPECT_EQ(date.year, 2004);
    SetLanguageIndex(1);
    date.ParseText("07/05/2004");
    EXPECT_EQ(date.day, 5);
    EXPECT_EQ(date.month, 7);
    EXPECT_EQ(date.year, 2004);
    // Out of shape: whatever the positions give, 0 where no digits stand.
    date.ParseText("Sum");
    EXPECT_EQ(date.month, 0);
    EXPECT_EQ(date.day, 0);
    EXPECT_EQ(date.year, 0);
    date.ParseText("12/31");
    EXPECT_EQ(date.month, 12);
    EXPECT_EQ(date.day, 31);
    EXPECT_EQ(date.year, 0);
}

TEST_F(CalendarDateTest, YearBelow1900IsInvalidOnlyThroughCheckedCopies) {
    CalendarDate date;
    date.CopyChecked(CalendarDate(5, 5, 1899));
    EXPECT_TRUE(date.invalid);
    EXPECT_EQ(date.ToText(), "Problem");
    date.AssignChecked(CalendarDate(5, 5, 1900));
    EXPECT_FALSE(date.invalid);
    EXPECT_EQ(date.ToText(), "05.05.1900");
    // Filled field by field, an old year still prints.
    EXPECT_EQ(CalendarDate(1, 1, 1850).ToText(), "01.01.1850");
}

TEST_F(CalendarDateTest, ComparisonsOrderYearMonthDay) {
    const CalendarDate a(31, 12, 2003), b(1, 1, 2004), c(1, 1, 2004);
    EXPECT_TRUE(a.IsEarlierOrEqual(b));
    EXPECT_FALSE(a.IsLater(b));
    EXPECT_TRUE(b.IsLater(a));
    EXPECT_TRUE(b.Equals(c));
    EXPECT_TRUE(b.IsLaterOrEqual(c));
    EXPECT_FALSE(b.IsLater(c));
    EXPECT_TRUE(CalendarDate(2, 1, 2004).IsLater(CalendarDate(31, 12, 2003)));
    EXPECT_TRUE(CalendarDate(1, 2, 2004).IsLater(CalendarDate(31, 1, 2004)));
}

TEST_F(CalendarDateTest, MonthLengthsAndLeapYears) {
    EXPECT_EQ(CalendarDate::DaysInMonth(2, 1900), 28);
    EXPECT_EQ(CalendarDate::DaysInMonth(2, 2000), 29);
    EXPECT_EQ(CalendarDate::DaysInMonth(2, 2004), 29);
    EXPECT_EQ(CalendarDate::DaysInMonth(2, 2003), 28);
    EXPECT_EQ(CalendarDate::DaysInMonth(4, 2004), 30);
    EXPECT_EQ(CalendarDate::DaysInMonth(12, 2004), 31);
    EXPECT_EQ(CalendarDate::DaysInMonth(13, 2004), -1);
    EXPECT_EQ(CalendarDate::DaysInMonth(0, 2004), -1);
}

TEST_F(CalendarDateTest, WeekdayCountsFromMonday1January1900) {
    EXPECT_EQ(CalendarDate(1, 1, 1900).DayOfWeek(), 2);
    EXPECT_EQ(CalendarDate(2, 5, 2004).DayOfWeek(), 1);   // Sunday
    EXPECT_EQ(CalendarDate(7, 5, 2004).DayOfWeek(), 6);   // Friday
    EXPECT_EQ(CalendarDate(8, 12, 2026).DayOfWeek(), 3);  // a Tuesday
    EXPECT_EQ(CalendarDate(29, 2, 2000).DayOfWeek(), 3);  // a Tuesday
    EXPECT_EQ(CalendarDate(1, 1, 2001).DayOfWeek(), 2);   // a Monday
    // Every day of a span advances the weekday by one, across month and leap-year ends.
    CalendarDate date(1, 1, 1999);
    int expected = date.DayOfWeek();
    for (int i = 0; i < 3000; ++i) {
        const int days = CalendarDate::DaysInMonth(date.month, date.year);
        if (++date.day > days) {
            date.day = 1;
            if (++date.month > 12) {
                date.month = 1;
                ++date.year;
            }
        }
        expected = (expected + 1) % 7;
        ASSERT_EQ(date.DayOfWeek(), expected) << date.ToText();
    }
}

TEST_F(CalendarDateTest, WeekdayOfDamagedDatesStaysInRangeAndIsQuick) {
    // Years before 1900 get no year steps; months past 12 count -1 each; days may be anything.
    EXPECT_EQ(CalendarDate(1, 1, 1899).DayOfWeek(), 2);
    EXPECT_EQ(CalendarDate(0, 1, 1900).DayOfWeek(), 1);
    EXPECT_EQ(CalendarDate(1, 14, 1900).DayOfWeek(), (2 + 365 - 1) % 7);
    for (const CalendarDate& date :
         {CalendarDate(-2147483647 - 1, 1, 1900), CalendarDate(2147483647, 2147483647, 2147483647),
          CalendarDate(-5, -7, -2147483647 - 1)}) {
        const int weekday = date.DayOfWeek();
        EXPECT_GE(weekday, 0);
        EXPECT_LE(weekday, 6);
    }
    // The closed form agrees with counting year by year.
    for (int year = 1900; year < 2200; year += 7) {
        long long count = 2;
        for (int y = 1900; y < year; ++y)
            count += CalendarDate::IsLeapYear(y) ? 366 : 365;
        EXPECT_EQ(CalendarDate(1, 1, year).DayOfWeek(), count % 7) << year;
    }
}

TEST_F(CalendarDateTest, PreviousDayAndMonthNormalisation) {
    CalendarDate date(1, 3, 2004);
    date.PreviousDay();
    EXPECT_TRUE(date.Equals(CalendarDate(29, 2, 2004)));
    date = CalendarDate(1, 1, 2004);
    date.PreviousDay();
    EXPECT_TRUE(date.Equals(CalendarDate(31, 12, 2003)));
    date = CalendarDate(15, 6, 2004);
    date.PreviousDay();
    EXPECT_TRUE(date.Equals(CalendarDate(14, 6, 2004)));

    date = CalendarDate(1, 0, 2003);
    date.SetMonthNormalized(13);
    EXPECT_EQ(date.month, 1);
    EXPECT_EQ(date.year, 2004);
    date = CalendarDate(1, 0, 2004);
    date.SetMonthNormalized(0);
    EXPECT_EQ(date.month, 12);
    EXPECT_EQ(date.year, 2003);
    date.SetMonthNormalized(14);
    EXPECT_EQ(date.month, 14);
    EXPECT_EQ(date.year, 2003);
}

TEST_F(CalendarDateTest, NamesFollowTheActiveLanguage) {
    SetLanguageIndex(0);
    CalendarDate date = CalendarDate::Today();
    date = CalendarDate(1, 3, 2004);
    EXPECT_EQ(date.MonthName(), "M\xe4rz");
    EXPECT_EQ(CalendarDate(1, 7, 2004).MonthName(), "July");
    EXPECT_EQ(CalendarDate(2, 5, 2004).DayName(), "Sonntag");
    SetLanguageIndex(1);
    CalendarDate other;
    other.CopyChecked(CalendarDate(5, 5, 2004));  // reloads the names
    EXPECT_EQ(CalendarDate(1, 10, 2004).MonthName(), "Oktober");
    EXPECT_EQ(CalendarDate(5, 5, 2004).DayName(), "Wensday");
    EXPECT_EQ(CalendarDate(1, 13, 2004).MonthName(), "");
    EXPECT_EQ(CalendarDate(1, 0, 2004).MonthName(), "");
    EXPECT_EQ(CalendarDate(1, -2147483647 - 1, 2004).MonthName(), "");
}

TEST_F(CalendarDateTest, NameTablesHoldElevenCharactersAtMost) {
    SetAppTextLoader([](int id) { return id == 115 ? std::string(300, 'x') : BuiltInAppText(id, false); });
    CalendarDate::ReloadNames();
    EXPECT_EQ(CalendarDate(1, 1, 2004).MonthName(), std::string(11, 'x'));
    EXPECT_EQ(CalendarDate(1, 2, 2004).MonthName(), "February");
    SetAppTextLoader(nullptr);
    CalendarDate::ReloadNames();
}

}  // namespace
}  // namespace history
