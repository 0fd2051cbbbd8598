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

// The bytes of a megabyte text: its decimal number as far as the text is one ([sign] digits
// [. digits] [exponent], a point as decimal separator) times 1048576. A text that does not begin
// with a number, or whose value is not finite, gives 0.
double BytesOfMegabytesText(const std::string& text);

}  // namespace viewer
