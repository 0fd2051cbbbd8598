#include "accounting_month.h"

#include <algorithm>

namespace history {
namespace {

constexpr int kLastStartDay = 31;

// The start day a period is computed with: a start day above 31 keeps calendar months.
int PeriodStartDay(int month, int year, int startDay) {
    return startDay > kLastStartDay ? 1 : AccountingStartDay(month, year, startDay);
}

std::int64_t PeriodFirst(int month, int year, int startDay) {
    return month == 1 ? DayNumber(year, 1, 1) : DayNumber(year, month, PeriodStartDay(month, year, startDay));
}

std::int64_t PeriodLast(int month, int year, int startDay) {
    return month == 12 ? DayNumber(year, 12, 31) : PeriodFirst(month + 1, year, startDay) - 1;
}

}  // namespace

std::int64_t DayNumber(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CalendarDate DateOfDayNumber(std::int64_t number) {
    number += 719468;
    const std::int64_t era = (number >= 0 ? number : number - 146096) / 146097;
    const std::int64_t dayOfEra = number - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shifted = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
    const int month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
    return CalendarDate(day, month, static_cast<int>(era * 400 + yearOfEra + (month <= 2)));
}

int AccountingStartDay(int month, int year, int startDay) {
    if (startDay > kLastStartDay)
        return startDay;
    const int days = CalendarDate::DaysInMonth(month, year);
    const int day = std::max(startDay, 1);
    return days > 0 ? std::min(day, days) : day;
}

bool OpensAccountingMonth(const CalendarDate& date, int startDay) {
    return date.day >= AccountingStartDay(date.month, date.year, startDay);
}

AccountingMonth AccountingMonthNamed(int month, int year, int startDay) {
    AccountingMonth period;
    period.month = month;
    period.year = year;
    if (month < 1 || month > 12) {
        // No calendar month: the days stored with that number, as they are compared.
        period.first = CalendarDate(1, month, year);
        period.last = CalendarDate(31, month, year);
        period.days = 31;
        return period;
    }
    const std::int64_t first = PeriodFirst(month, year, startDay);
    const std::int64_t last = PeriodLast(month, year, startDay);
    period.first = DateOfDayNumber(first);
    period.last = DateOfDayNumber(last);
    period.days = static_cast<int>(last - first + 1);
    return period;
}

AccountingMonth AccountingMonthOf(const CalendarDate& date, int startDay) {
    if (date.month < 1 || date.month > 12)
        return AccountingMonthNamed(date.month, date.year, startDay);
    int month = date.month;
    if (month > 1 && DayNumber(date.year, date.month, date.day) < PeriodFirst(month, date.year, startDay))
        --month;
    return AccountingMonthNamed(month, date.year, startDay);
}

}  // namespace history
