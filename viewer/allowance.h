// A data allowance per accounting month, as metered lines bill it: how much of it a period used,
// what is left, what may be used per day for the days left, and where the pace is heading. Pure
// arithmetic on a period and its days' volumes; the chart draws what this works out.
#pragma once

#include <string>
#include <vector>

#include "calendar_date.h"
#include "day_record.h"

namespace viewer {

// The tree's unit: 1 GB = 1024 MB = 2^30 bytes.
constexpr double kAllowanceBytesPerGigabyte = 1073741824.0;
constexpr double kLargestAllowanceGigabytes = 1000000;

enum class AllowanceCounts { kDownloadAndUpload = 0, kDownloadOnly = 1 };

struct Allowance {
    bool on = false;
    double gigabytes = 0;
    AllowanceCounts counts = AllowanceCounts::kDownloadAndUpload;
    double Bytes() const { return gigabytes * kAllowanceBytesPerGigabyte; }
    bool Usable() const { return on && gigabytes > 0 && gigabytes <= kLargestAllowanceGigabytes; }
};

enum class AllowanceInput { kAccepted, kNotANumber, kOutOfRange };

// A typed allowance in GB: digits with at most one decimal sign (comma or point), blanks around it
// allowed. A leading minus makes a number below 0, which is out of range as 0 is; so is more than
// the largest allowance.
AllowanceInput ParseAllowanceGigabytes(const std::string& text, double& gigabytes);
// An allowance as it is typed and stored: up to three decimals, trailing zeros dropped, with
// `decimalSign` between ("60", "2,5").
std::string AllowanceText(double gigabytes, char decimalSign);

// What of a day's (or a period's) volumes counts against the allowance; impossible parts
// (history::IsPossibleVolume) count 0.
double CountedVolume(const Allowance& allowance, double downloadBytes, double uploadBytes);

struct DayVolume {
    history::CalendarDate date;
    double downloadBytes = 0;
    double uploadBytes = 0;
};

// An accounting month: its first and last day, both counted.
struct AllowancePeriod {
    history::CalendarDate first, last;
};

struct AllowanceFigures {
    enum class When { kPast, kRunning, kFuture };
    When when = When::kPast;
    double allowance = 0;  // bytes
    double used = 0;       // counted bytes of the period's days
    int periodDays = 0;    // days of the period
    int elapsedDays = 0;   // of a running period: its first day to today, both counted
    int daysLeft = 0;      // of a running period: today to its last day, both counted
    double Share() const { return allowance > 0 ? used / allowance : 0; }
    double Left() const { return allowance - used; }  // below 0: over by that much
    bool Over() const { return used > allowance; }
    // What may be used per day for the days left, today included; 0 once nothing is left.
    double PerDayLeft() const { return daysLeft > 0 && Left() > 0 ? Left() / daysLeft : 0; }
    // The even daily share of the allowance.
    double EvenShare() const { return periodDays > 0 ? allowance / periodDays : 0; }
    // The running period's used volume spread over its days elapsed, times its days.
    double Forecast() const { return elapsedDays > 0 ? used / elapsedDays * periodDays : 0; }
    double ForecastShare() const { return allowance > 0 ? Forecast() / allowance : 0; }
    bool ForecastOver() const { return when == When::kRunning && Forecast() > allowance; }
};

// The figures of `period` from the days that lie in it (others are left out), seen on `today`:
// running when today lies in the period, past when after it, future when before it.
AllowanceFigures AllowanceFiguresOf(const Allowance& allowance, const AllowancePeriod& period,
                                    const std::vector<DayVolume>& days, const history::CalendarDate& today);

// "39 %": a share as whole percent.
std::string ShareText(double share);

// The texts of the figures line; each caption holds %1 (and %2) for the values.
struct AllowanceCaptions {
    std::string allowance;    // "Allowance %1"
    std::string used;         // "Used %1 (%2)"
    std::string left;         // "Left %1"
    std::string overBy;       // "Over by %1"
    std::string perDay;       // "%1 per day for %2 days"
    std::string perDayToday;  // "%1 for today"
    std::string forecast;     // "Forecast %1 of the allowance"
    std::string share;        // "%1 of the allowance", for a bar's tooltip
};
struct AllowancePiece {
    std::string text;
    bool warning = false;  // drawn in the warning colour
};
// Past and future periods: allowance, used, left or over by. A running one also per day for the
// days left and the forecast's share, a warning when it goes over.
std::vector<AllowancePiece> AllowancePieces(const AllowanceFigures& figures, const AllowanceCaptions& captions);

// What a chart shows of the allowance: set or not, and a month chart's figures of its period.
struct ChartAllowance {
    bool shown = false;
    Allowance allowance;
    bool hasFigures = false;
    AllowanceFigures figures;
};

struct HistoryChart;
// The allowance's part of `chart`, a month chart's figures for its accounting month as `startDay`
// makes it (AccountingMonthOf), from `days`, seen on `today`. Nothing when the allowance is off.
ChartAllowance ChartAllowanceOf(const HistoryChart& chart, const Allowance& allowance,
                                const std::vector<DayVolume>& days, int startDay, const history::CalendarDate& today);

// The records' days as the tree shows them: month 13 and 0 in the neighbouring years, a day the
// calendar does not have (a 31 April) on the last day of its month, other records left out.
std::vector<DayVolume> DayVolumesOf(const std::vector<history::DayRecord>& records);

// `pattern` with %1 and %2 replaced.
std::string Substitute(const std::string& pattern, const std::string& first, const std::string& second = "");

}  // namespace viewer
