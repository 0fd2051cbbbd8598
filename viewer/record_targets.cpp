#include "record_targets.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "value_format.h"

namespace viewer {
namespace {

// The decimal number at the start of a text, as far as digits go (0 without any).
int DecimalPrefix(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

std::string Part(const std::string& text, std::size_t from, std::size_t count) {
    return from < text.size() ? text.substr(from, count) : std::string();
}

history::CalendarDate NormalisedDate(int day, int storedMonth, int year) {
    history::CalendarDate date(0, 0, year);
    date.SetMonthNormalized(storedMonth);
    date.day = day;
    return date;
}

}  // namespace

DeleteTarget DeleteTargetOf(int level, const std::string (&texts)[4]) {
    DeleteTarget target;
    if (level == 0) {
        target.kind = DeleteTarget::kYear;
        target.year = DecimalPrefix(texts[0]);
    } else if (level == 1) {
        const history::CalendarDate date =
            NormalisedDate(1, DecimalPrefix(Part(texts[3], 0, 2)), DecimalPrefix(Part(texts[3], 3, 4)));
        target.kind = DeleteTarget::kMonth;
        target.year = date.year;
        target.month = date.month;
    } else if (texts[0] != kSumLabel) {
        history::CalendarDate parsed;
        parsed.ParseText(texts[0]);
        const history::CalendarDate date = NormalisedDate(parsed.day, parsed.month, parsed.year);
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
        target.date.CopyChecked(NormalisedDate(parsed.day, parsed.month, parsed.year));
        target.sumsDay = true;
    }
    target.opensDialog = level == 2 && !target.date.Equals(today);
    return target;
}

std::string MegabytesText(double bytes) {
    return history::FormatDouble("%.2f", bytes / kBytesPerMegabyte);
}

double BytesOfMegabytesText(const std::string& text) {
    // Only the plain decimal form counts: no "inf", "nan" or hexadecimal numbers.
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
            ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
                ++j;
            i = j;
        }
    }
    // The number's own characters, read with the C locale's decimal point, which this program keeps.
    const double value = std::strtod(text.substr(start, i - start).c_str(), nullptr);
    const double bytes = value * kBytesPerMegabyte;
    return std::isfinite(bytes) ? bytes : 0;
}

}  // namespace viewer
