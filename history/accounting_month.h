// The accounting month: the one rule by which the tree, the chart and its forecast, the CSV file,
// the record commands and the report group days into months.
#pragma once

#include <cstdint>

#include "calendar_date.h"

namespace history {

// Days since 1 January 1970 of a proleptic Gregorian date (any day and month 1..12), and back.
std::int64_t DayNumber(std::int64_t year, int month, int day);
CalendarDate DateOfDayNumber(std::int64_t number);

// The day of `month` (1..12) of `year` on which the accounting month named after it begins:
// the start day, but at most the month's last day (a start day of 31 begins February on its 28th
// or 29th), and at least the 1st. A start day above 31 never begins a month within the year (the
// tree then opens month rows only with a year): it is returned as it is.
int AccountingStartDay(int month, int year, int startDay);

// Whether a record of `date` opens a new accounting month in the tree, once its month differs
// from the running one's: its day is at least the start day of its month.
bool OpensAccountingMonth(const CalendarDate& date, int startDay);

// The accounting month named after `month` of `year`: from its start day to the day before the
// next one begins. Every year begins one of its own, as the tree opens a month with each year row:
// January begins on the 1st and December ends on the 31st. With a start day above 31, where no
// month begins within a year, it is the calendar month.
struct AccountingMonth {
    int month = 0, year = 0;
    CalendarDate first, last;  // both inclusive
    int days = 0;

    bool Contains(const CalendarDate& date) const { return date.IsLaterOrEqual(first) && date.IsEarlierOrEqual(last); }
};
AccountingMonth AccountingMonthNamed(int month, int year, int startDay);
// The accounting month that holds `date` (a date of the calendar, month 1..12).
AccountingMonth AccountingMonthOf(const CalendarDate& date, int startDay);

}  // namespace history
