// The viewer's date value: text forms in the current date style, comparisons, weekday, names.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace history {

class CalendarDate {
public:
    int day = 0;              // 1..31
    int month = 0;            // 1..12
    int year = 0;             // four digits
    bool invalid = false;     // set for a year below 1900 by the checked copies
    std::time_t created = 0;  // clock value when made by Today(); kept, not used
    std::tm createdLocal{};

    CalendarDate() = default;
    CalendarDate(int day, int month, int year) : day(day), month(month), year(year) {}

    // Today's local date; reloads the name tables.
    static CalendarDate Today();
    // The date a stored record is shown under: its month normalised as SetMonthNormalized does.
    static CalendarDate OfStored(int year, int storedMonth, int day);

    // Copy day, month and year, checking the year; CopyChecked also reloads the name tables.
    void CopyChecked(const CalendarDate& other);
    void AssignChecked(const CalendarDate& other);

    // The date in the current date style, or "Problem" when invalid.
    std::string ToText() const;
    // Reads a text made by ToText back into day, month and year (0 where no digits stand).
    void ParseText(const std::string& text);

    bool IsEarlierOrEqual(const CalendarDate& other) const { return Compare(other) <= 0; }
    bool IsLater(const CalendarDate& other) const { return Compare(other) > 0; }
    bool IsLaterOrEqual(const CalendarDate& other) const { return Compare(other) >= 0; }
    bool Equals(const CalendarDate& other) const { return Compare(other) == 0; }

    static int DaysInMonth(int month, int year);  // -1 outside 1..12
    static bool IsLeapYear(int year);

    int DayOfWeek() const;          // 0 Saturday, 1 Sunday, ..., 6 Friday
    std::string DayName() const;    // name of DayOfWeek()
    std::string MonthName() const;  // empty outside 1..12

    void PreviousDay();
    // Takes a stored month value: 13 is January of the next year, 0 December of the previous one.
    void SetMonthNormalized(int storedMonth);

    // The process-wide name tables, refilled from the active language's texts.
    static void ReloadNames();
    static std::string DayNameAt(int index);    // 0..6, Saturday first
    static std::string MonthNameAt(int index);  // 0..11, January first

private:
    int Compare(const CalendarDate& other) const;
    void CheckYear();
};

}  // namespace history
