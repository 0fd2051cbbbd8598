// What the record commands act on, read from the texts of the right-clicked row, and the
// megabyte texts of the edit dialog. No windows here.
#pragma once

#include <string>

#include "calendar_date.h"

namespace viewer {

// The row text of a month's sum; never a date.
inline constexpr const char kSumLabel[] = "Sum";

// Volumes are edited in units of this many bytes, labelled "MB".
constexpr double kBytesPerMegabyte = 1048576.0;

struct DeleteTarget {
    enum Kind { kNothing, kYear, kMonth, kDay };
    Kind kind = kNothing;
    int year = 0;
    int month = 0;
    int day = 0;
};

// A year row deletes its year; a month row the calendar month of its period label ("MM/YYYY" in
// column 3); a day row its day; a sum row nothing. Months are normalised as stored months are read.
DeleteTarget DeleteTargetOf(int level, const std::string (&texts)[4]);

struct EditTarget {
    history::CalendarDate date;  // today, or the clicked day
    bool sumsDay = false;        // the day's totals are read (every row but a sum row)
    bool opensDialog = false;    // only a day row other than today's opens the edit dialog
};

EditTarget EditTargetOf(int level, const std::string& label, const history::CalendarDate& today);

// "%.2f" of the bytes in megabytes.
std::string MegabytesText(double bytes);

// More than a line of 100 Gbit/s carries in a day (10^11 / 8 bytes a second for 86400 seconds) is
// a typing error, not a day's traffic.
constexpr double kMaxTypedMegabytes = 1030000000.0;

enum class TypedVolume { kAccepted, kNoNumber, kTooLarge };

// The bytes of a typed megabyte text, times 1048576: a decimal number of 0 or more, with a point or
// a comma as its decimal sign and blanks around it, of at most kMaxTypedMegabytes. kNoNumber for
// anything else (no number, a sign, a unit, an exponent, two decimal signs), kTooLarge for a number
// above the limit; `bytes` is then 0.
TypedVolume BytesOfMegabytesText(const std::string& text, double& bytes);

}  // namespace viewer
