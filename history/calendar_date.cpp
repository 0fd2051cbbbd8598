#include "calendar_date.h"

#include <cstdio>
#include <iostream>

#include "app_texts.h"
#include "language.h"

namespace history {
namespace {

// Each name holds at most 11 characters, as the monitor's tables do; longer texts are cut.
constexpr std::size_t kNameLength = 11;

std::string g_dayNames[7];
std::string g_monthNames[12];

// Year arithmetic on damaged data must not overflow: wrap like the 32-bit field it lands in.
int WrapAdd(int value, int delta) {
    return static_cast<int>(static_cast<std::uint32_t>(value) + static_cast<std::uint32_t>(delta));
}

int ModSeven(std::int64_t value) {
    const std::int64_t r = value % 7;
    return static_cast<int>(r < 0 ? r + 7 : r);
}

// Leap years in 1900..year-1 (year > 1900).
std::int64_t LeapYearsSince1900(std::int64_t year) {
    const std::int64_t last = year - 1;
    auto count = [](std::int64_t y) { return y / 4 - y / 100 + y / 400; };
    return count(last) - count(1899);
}

}  // namespace

CalendarDate CalendarDate::Today() {
    CalendarDate date;
    date.created = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &date.created);
#else
    localtime_r(&date.created, &local);
#endif
    date.createdLocal = local;
    date.day = local.tm_mday;
    date.month = local.tm_mon + 1;
    date.year = local.tm_year + 1900;
    date.invalid = false;
    ReloadNames();
    return date;
}

void CalendarDate::CheckYear() {
    invalid = year < 1900;
    if (invalid)
        std::cerr << "You tried to set a year that is less then 1900, which is illegal" << std::endl;
}

void CalendarDate::CopyChecked(const CalendarDate& other) {
    AssignChecked(other);
    ReloadNames();
}

void CalendarDate::AssignChecked(const CalendarDate& other) {
    day = other.day;
    month = other.month;
    year = other.year;
    CheckYear();
}

std::string CalendarDate::ToText() const {
    if (invalid) {
        std::cerr << "There are error/s in your date (year less then 1900). Can't print date." << std::endl;
        return "Problem";
    }
    const bool dotted = CurrentDateStyle() == DateStyle::Dotted;
    const int first = dotted ? day : month;
    const int second = dotted ? month : day;
    if (first >= 0 && first <= 99 && second >= 0 && second <= 99 && year >= 1000 && year <= 9999) {
        // The common case without printf, which a fill would otherwise call once a day.
        const char separator = dotted ? '.' : '/';
        const char text[] = {static_cast<char>('0' + first / 10),
                             static_cast<char>('0' + first % 10),
                             separator,
                             static_cast<char>('0' + second / 10),
                             static_cast<char>('0' + second % 10),
                             separator,
                             static_cast<char>('0' + year / 1000),
                             static_cast<char>('0' + year / 100 % 10),
                             static_cast<char>('0' + year / 10 % 10),
                             static_cast<char>('0' + year % 10)};
        return std::string(text, sizeof text);
    }
    char text[48];
    if (dotted) {
        std::snprintf(text, sizeof text, "%02d.%02d.%d", day, month, year);
    } else {
        std::snprintf(text, sizeof text, "%02d/%02d/%d", month, day, year);
    }
    return text;
}

void CalendarDate::ParseText(const std::string& text) {
    const char separator = CurrentDateStyle() == DateStyle::Dotted ? '.' : '/';
    std::string digits;
    for (char c : text) {
        if (c != separator)
            digits += c;
    }
    // Characters 0-1, 2-3 and 4-7, each read as a decimal number as far as digits go.
    auto number = [&digits](std::size_t from, std::size_t count) {
        if (from >= digits.size())
            return 0;
        const std::string field = digits.substr(from, count);
        std::size_t i = 0;
        while (i < field.size() && (field[i] == ' ' || field[i] == '\t'))
            ++i;
        bool negative = false;
        if (i < field.size() && (field[i] == '-' || field[i] == '+'))
            negative = field[i++] == '-';
        int value = 0;
        for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
            value = value * 10 + (field[i] - '0');
        return negative ? -value : value;
    };
    const int first = number(0, 2);
    const int second = number(2, 2);
    year = number(4, 4);
    if (separator == '.') {
        day = first;
        month = second;
    } else {
        month = first;
        day = second;
    }
}

int CalendarDate::Compare(const CalendarDate& other) const {
    if (year != other.year)
        return year < other.year ? -1 : 1;
    if (month != other.month)
        return month < other.month ? -1 : 1;
    if (day != other.day)
        return day < other.day ? -1 : 1;
    return 0;
}

int CalendarDate::DaysInMonth(int month, int year) {
    switch (month) {
        case 2:
            return IsLeapYear(year) ? 29 : 28;
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12:
            return 31;
        default:
            return -1;
    }
}

bool CalendarDate::IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int CalendarDate::DayOfWeek() const {
    // Counted from 1 January 1900 (a Monday, index 2), forward only, modulo 7. The year and month
    // steps are summed in closed form so that a damaged year or month costs no long loop.
    std::int64_t count = 2;
    if (year > 1900) {
        const std::int64_t years = std::int64_t{year} - 1900;
        count += 365 * years + LeapYearsSince1900(year);
    }
    const std::int64_t lastMonth = std::int64_t{month} - 1;
    for (int m = 1; m <= lastMonth && m <= 12; ++m)
        count += DaysInMonth(m, year);
    if (lastMonth > 12)
        count -= lastMonth - 12;  // DaysInMonth is -1 past December
    return ModSeven(count + std::int64_t{day} - 1);
}

std::string CalendarDate::DayName() const {
    return DayNameAt(DayOfWeek());
}

std::string CalendarDate::MonthName() const {
    return month >= 1 && month <= 12 ? g_monthNames[month - 1] : "";
}

void CalendarDate::PreviousDay() {
    if (day > 1) {
        --day;
    } else if (month == 1) {
        day = 31;
        month = 12;
        year = WrapAdd(year, -1);
    } else {
        --month;
        day = DaysInMonth(month, year);
    }
}

CalendarDate CalendarDate::OfStored(int year, int storedMonth, int day) {
    CalendarDate date(0, 0, year);
    date.SetMonthNormalized(storedMonth);
    date.day = day;
    return date;
}

void CalendarDate::SetMonthNormalized(int storedMonth) {
    if (storedMonth == 13) {
        month = 1;
        year = WrapAdd(year, 1);
    } else if (storedMonth == 0) {
        month = 12;
        year = WrapAdd(year, -1);
    } else {
        month = storedMonth;
    }
}

void CalendarDate::ReloadNames() {
    for (int i = 0; i < 7; ++i)
        g_dayNames[i] = LoadAppText(kFirstDayNameId + i).substr(0, kNameLength);
    for (int i = 0; i < 12; ++i)
        g_monthNames[i] = LoadAppText(kFirstMonthNameId + i).substr(0, kNameLength);
}

std::string CalendarDate::DayNameAt(int index) {
    return index >= 0 && index < 7 ? g_dayNames[index] : "";
}

std::string CalendarDate::MonthNameAt(int index) {
    return index >= 0 && index < 12 ? g_monthNames[index] : "";
}

}  // namespace history
