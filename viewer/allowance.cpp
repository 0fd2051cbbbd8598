#include "allowance.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "accounting_month.h"
#include "history_chart.h"
#include "possible_volume.h"
#include "value_format.h"

namespace viewer {
namespace {

std::int64_t DayNumber(const history::CalendarDate& date) {
    return history::DayNumber(date.year, date.month, date.day);
}

}  // namespace

AllowanceInput ParseAllowanceGigabytes(const std::string& text, double& gigabytes) {
    gigabytes = 0;
    double value = 0;
    if (!history::ParseTypedDecimal(text, true, value))
        return AllowanceInput::kNotANumber;
    if (!(value > 0) || !(value <= kLargestAllowanceGigabytes))
        return AllowanceInput::kOutOfRange;
    gigabytes = value;
    return AllowanceInput::kAccepted;
}

std::string AllowanceText(double gigabytes, char decimalSign) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", gigabytes);
    std::string out = text;
    const std::size_t point = out.find('.');
    if (point != std::string::npos) {
        while (out.back() == '0')
            out.pop_back();
        if (out.back() == '.')
            out.pop_back();
        else
            out[point] = decimalSign;
    }
    return out;
}

double CountedVolume(const Allowance& allowance, double downloadBytes, double uploadBytes) {
    double counted = history::IsPossibleVolume(downloadBytes) ? downloadBytes : 0;
    if (allowance.counts == AllowanceCounts::kDownloadAndUpload && history::IsPossibleVolume(uploadBytes))
        counted += uploadBytes;
    return counted;
}

AllowanceFigures AllowanceFiguresOf(const Allowance& allowance, const AllowancePeriod& period,
                                    const std::vector<DayVolume>& days, const history::CalendarDate& today) {
    AllowanceFigures figures;
    figures.allowance = allowance.Bytes();
    const std::int64_t first = DayNumber(period.first), last = DayNumber(period.last);
    figures.periodDays = static_cast<int>(std::max<std::int64_t>(0, last - first + 1));
    for (const DayVolume& day : days) {
        const std::int64_t number = DayNumber(day.date);
        if (number >= first && number <= last)
            figures.used += CountedVolume(allowance, day.downloadBytes, day.uploadBytes);
    }
    const std::int64_t now = DayNumber(today);
    if (now > last) {
        figures.when = AllowanceFigures::When::kPast;
    } else if (now < first) {
        figures.when = AllowanceFigures::When::kFuture;
    } else {
        figures.when = AllowanceFigures::When::kRunning;
        figures.elapsedDays = static_cast<int>(now - first + 1);
        figures.daysLeft = static_cast<int>(last - now + 1);
    }
    return figures;
}

std::string ShareText(double share) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f %%", std::isfinite(share) ? share * 100 : 0.0);
    return text;
}

std::string Substitute(const std::string& pattern, const std::string& first, const std::string& second) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
            out += pattern[i + 1] == '1' ? first : second;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::vector<AllowancePiece> AllowancePieces(const AllowanceFigures& figures, const AllowanceCaptions& captions) {
    const auto volume = [](double bytes) { return history::FormatVolume(bytes, false); };
    std::vector<AllowancePiece> pieces;
    pieces.push_back({Substitute(captions.allowance, volume(figures.allowance))});
    pieces.push_back({Substitute(captions.used, volume(figures.used), ShareText(figures.Share()))});
    if (figures.Over())
        pieces.push_back({Substitute(captions.overBy, volume(-figures.Left())), true});
    else
        pieces.push_back({Substitute(captions.left, volume(figures.Left()))});
    if (figures.when == AllowanceFigures::When::kRunning) {
        if (figures.daysLeft == 1)
            pieces.push_back({Substitute(captions.perDayToday, volume(figures.PerDayLeft()))});
        else
            pieces.push_back(
                {Substitute(captions.perDay, volume(figures.PerDayLeft()), std::to_string(figures.daysLeft))});
        pieces.push_back({Substitute(captions.forecast, ShareText(figures.ForecastShare())), figures.ForecastOver()});
    }
    return pieces;
}

ChartAllowance ChartAllowanceOf(const HistoryChart& chart, const Allowance& allowance,
                                const std::vector<DayVolume>& days, int startDay, const history::CalendarDate& today) {
    ChartAllowance out;
    if (!allowance.Usable())
        return out;
    out.shown = true;
    out.allowance = allowance;
    if (chart.kind != HistoryChart::Kind::kMonth || chart.month < 1 || chart.month > 12 || chart.year < 1)
        return out;
    const history::AccountingMonth month = history::AccountingMonthNamed(chart.month, chart.year, startDay);
    out.hasFigures = true;
    out.figures = AllowanceFiguresOf(allowance, AllowancePeriod{month.first, month.last}, days, today);
    return out;
}

std::vector<DayVolume> DayVolumesOf(const std::vector<history::DayRecord>& records) {
    std::vector<DayVolume> days;
    days.reserve(records.size());
    for (const history::DayRecord& r : records) {
        if (r.month < 0 || r.month > 13 || r.day < 1 || r.day > 31)
            continue;
        history::CalendarDate date = history::CalendarDate::OfStored(r.year, r.month, r.day);
        if (date.month < 1 || date.month > 12)
            continue;
        date.day = std::min(date.day, history::CalendarDate::DaysInMonth(date.month, date.year));
        days.push_back(DayVolume{date, r.downloadBytes, r.uploadBytes});
    }
    return days;
}

}  // namespace viewer
