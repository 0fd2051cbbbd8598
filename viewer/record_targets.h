// What the record commands act on: the right-clicked row found again in the history read anew, and
// the records it shows; the megabyte texts of the edit dialog. No windows here.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "calendar_date.h"
#include "day_record.h"
#include "history_summary.h"
#include "possible_volume.h"

namespace viewer {

// The row text of a month's sum; never a date.
inline constexpr const char kSumLabel[] = "Sum";

// Volumes are edited in units of this many bytes, labelled "MB".
constexpr double kBytesPerMegabyte = history::kBytesPerMegabyte;

// The clicked row in rows read anew: of its level, with its label (and a month row's period label
// in column 3), at its former position `hint` if it is still there, else the first such row; -1
// when there is none. A sum row is never one to act on.
int FindClickedRow(const history::HistorySummary& summary, int level, const std::string (&texts)[4], int hint);

// The positions of the records the row shows, in file order: what Delete removes and Edit changes.
std::vector<std::size_t> RecordsOfRow(const history::SummaryRow& row, const std::vector<history::DayRecord>& records,
                                      const history::CalendarDate& today);

// The text a field of the edit dialog starts with: the megabytes of the row's possible volumes, or
// empty where the row has none (it holds only impossible ones).
std::string PrefillText(double countedBytes, bool anyPossible);

struct EditTarget {
    history::CalendarDate date;  // today, or the clicked day
    bool opensDialog = false;    // only a day row other than today's opens the edit dialog
};

EditTarget EditTargetOf(int level, const std::string& label, const history::CalendarDate& today);

// "%.2f" of the bytes in megabytes.
std::string MegabytesText(double bytes);

// More than a day's traffic can be is a typing error.
constexpr double kMaxTypedMegabytes = history::kMaxDayMegabytes;

enum class TypedVolume { kAccepted, kNoNumber, kTooLarge };

// The bytes of a typed megabyte text, times 1048576: a decimal number of 0 or more, with a point or
// a comma as its decimal sign and blanks around it, of at most kMaxTypedMegabytes. kNoNumber for
// anything else (no number, a sign, a unit, an exponent, two decimal signs), kTooLarge for a number
// above the limit; `bytes` is then 0.
TypedVolume BytesOfMegabytesText(const std::string& text, double& bytes);

}  // namespace viewer
