#include "record_targets.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "value_format.h"

namespace viewer {
namespace {

std::string Part(const std::string& text, std::size_t from, std::size_t count) {
    return from < text.size() ? text.substr(from, count) : std::string();
}

}  // namespace

DeleteTarget DeleteTargetOf(int level, const std::string (&texts)[4]) {
    DeleteTarget target;
    if (level == 0) {
        target.kind = DeleteTarget::kYear;
        target.year = history::DecimalPrefix(texts[0]);
    } else if (level == 1) {
        const history::CalendarDate date = history::CalendarDate::OfStored(
            history::DecimalPrefix(Part(texts[3], 3, 4)), history::DecimalPrefix(Part(texts[3], 0, 2)), 1);
        target.kind = DeleteTarget::kMonth;
        target.year = date.year;
        target.month = date.month;
    } else if (texts[0] != kSumLabel) {
        history::CalendarDate parsed;
        parsed.ParseText(texts[0]);
        const history::CalendarDate date = history::CalendarDate::OfStored(parsed.year, parsed.month, parsed.day);
        target.kind = DeleteTarget::kDay;
        target.year = date.year;
        target.month = date.month;
        target.day = date.day;
    }
    return target;
}

EditTarget EditTargetOf(int level, const std::string& label, const history::CalendarDate& today) {
    EditTarget target;
    target.date = today;
    if (label != kSumLabel) {
        history::CalendarDate parsed;
        parsed.ParseText(label);
        target.date.CopyChecked(history::CalendarDate::OfStored(parsed.year, parsed.month, parsed.day));
        target.sumsDay = true;
    }
    target.opensDialog = level == 2 && !target.date.Equals(today);
    return target;
}

std::string MegabytesText(double bytes) {
    return history::FormatDouble("%.2f", bytes / kBytesPerMegabyte);
}

TypedVolume BytesOfMegabytesText(const std::string& text, double& bytes) {
    bytes = 0;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t first = 0, last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    // Digits with at most one decimal sign; the German comma is read as the point.
    std::string number;
    std::size_t digits = 0;
    bool decimalSign = false;
    for (std::size_t i = first; i < last; ++i) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            number += c;
            ++digits;
        } else if ((c == '.' || c == ',') && !decimalSign) {
            number += '.';
            decimalSign = true;
        } else {
            return TypedVolume::kNoNumber;
        }
    }
    if (digits == 0)
        return TypedVolume::kNoNumber;
    // Read with the C locale's decimal point, which this program keeps.
    const double megabytes = std::strtod(number.c_str(), nullptr);
    if (!(megabytes <= kMaxTypedMegabytes))
        return TypedVolume::kTooLarge;
    bytes = megabytes * kBytesPerMegabyte;
    return TypedVolume::kAccepted;
}

}  // namespace viewer
