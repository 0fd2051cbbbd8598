#include "value_format.h"

#include <cctype>
#include <cinttypes>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "settings_store.h"

namespace history {
namespace {

// The largest value whose tenths stay exact in 64-bit arithmetic below (about 2^46.5).
constexpr double kLargestQuickValue = 1e14;

void AppendDigits(std::string& text, std::uint64_t value) {
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0)
        text += digits[--count];
}

void AppendTwoDigits(std::string& text, int value) {
    text += static_cast<char>('0' + value / 10);
    text += static_cast<char>('0' + value % 10);
}

// "%.1f" of a value, computed from its exact binary value and rounded as printf rounds (to the
// nearest tenth, a tie to the even one), without printf's cost: the history shows three of these
// per day. False for what it leaves to printf: negative, not finite, or too large.
bool AppendOneDecimal(std::string& text, double value) {
    if (!(value >= 0 && value < kLargestQuickValue) || std::signbit(value))
        return false;
    // value = mantissa * 2^-shift, mantissa below 2^53; below 2^47, shift is at least 6.
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const int biasedExponent = static_cast<int>(bits >> 52);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int shift = 1074;
    if (biasedExponent != 0) {
        mantissa |= std::uint64_t{1} << 52;
        shift = 1075 - biasedExponent;
    }
    const std::uint64_t tenfold = mantissa * 10;  // below 2^57
    std::uint64_t tenths = 0;
    if (shift < 64) {
        tenths = tenfold >> shift;
        const std::uint64_t rest = tenfold & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (tenths & 1) != 0))
            ++tenths;
    }  // else value * 10 is below 2^-7 and rounds to 0
    AppendDigits(text, tenths / 10);
    text += '.';
    text += static_cast<char>('0' + tenths % 10);
    return true;
}

}  // namespace

std::string FormatOneDecimal(double value) {
    std::string text;
    if (!AppendOneDecimal(text, value))
        text = FormatDouble("%.1f", value);
    return text;
}

std::string FormatDouble(const char* format, double value) {
    if (std::isnan(value))
        return std::signbit(value) ? "-nan" : "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    // "%.1f" of a huge volume can run to hundreds of digits.
    char small[64];
    const int length = std::snprintf(small, sizeof small, format, value);
    if (length < 0)
        return std::string();
    if (static_cast<std::size_t>(length) < sizeof small)
        return std::string(small, static_cast<std::size_t>(length));
    std::vector<char> large(static_cast<std::size_t>(length) + 1);
    std::snprintf(large.data(), large.size(), format, value);
    return std::string(large.data(), static_cast<std::size_t>(length));
}

std::string FormatVolume(double bytes, bool rate) {
    return FormatVolume(bytes, rate, CurrentSettings().DisplayBytes != 0);
}

std::string FormatVolume(double bytes, bool rate, bool bytesMode) {
    const double giga = bytesMode ? 1073741824.0 : 1000000000.0;
    const double mega = bytesMode ? 1048576.0 : 1000000.0;
    const double kilo = bytesMode ? 1024.0 : 1000.0;
    const double v = bytesMode ? bytes : bytes * 8;
    double number = 0;
    char prefix = 'K';
    if (v >= giga) {
        number = v / giga;
        prefix = 'G';
    } else if (v >= mega) {
        number = v / mega;
        prefix = 'M';
    } else if (v >= kilo) {
        number = v / kilo;
        prefix = bytesMode ? 'K' : 'k';
    } else {
        // Below the kilo step the monitor divides by 1000 in both modes and writes a capital K.
        number = v * 0.001;
    }
    std::string text = FormatOneDecimal(number);
    text += ' ';
    text += prefix;
    text += bytesMode ? "B" : "bits";
    if (rate)
        text += "/s";
    return text;
}

std::string FormatDuration(std::int64_t seconds) {
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = seconds / 60 - 60 * hours;
    const std::int64_t rest = seconds % 60;
    if (seconds >= 0 && hours < 1000) {
        // The common case without printf: hours in at least two digits, three places wide.
        std::string text;
        if (hours < 100)
            text += ' ';
        AppendDigits(text, static_cast<std::uint64_t>(hours / 10));
        text += static_cast<char>('0' + hours % 10);
        text += ':';
        AppendTwoDigits(text, static_cast<int>(minutes));
        text += ':';
        AppendTwoDigits(text, static_cast<int>(rest));
        return text;
    }
    char text[80];
    std::snprintf(text, sizeof text, "%3.2" PRId64 ":%2.2" PRId64 ":%2.2" PRId64, hours, minutes, rest);
    return text;
}

int DecimalPrefix(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

bool ParseTypedDecimal(const std::string& text, bool minusAllowed, double& value) {
    value = 0;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t first = 0, last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    std::string number;
    if (minusAllowed && first < last && text[first] == '-') {
        number += '-';
        ++first;
    }
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
            return false;
        }
    }
    if (digits == 0)
        return false;
    // Read with the C locale's decimal point, which the programs keep.
    value = std::strtod(number.c_str(), nullptr);
    return true;
}

}  // namespace history
