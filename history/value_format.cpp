#include "value_format.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <vector>

#include "settings_store.h"

namespace history {

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
    std::string text = FormatDouble("%.1f", number);
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
    char text[80];
    std::snprintf(text, sizeof text, "%3.2" PRId64 ":%2.2" PRId64 ":%2.2" PRId64, hours, minutes, rest);
    return text;
}

}  // namespace history
