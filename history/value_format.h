// Short texts of volumes and durations for the tree list and the report, and the numbers read back
// from such texts.
#pragma once

#include <cstdint>
#include <string>

namespace history {

// A byte count with one decimal and a unit prefix: "1.5 KB", or in bits mode "12.3 kbits".
// The first form takes the mode from the current settings (DisplayBytes: non-zero bytes, 0 bits).
std::string FormatVolume(double bytes, bool rate);
std::string FormatVolume(double bytes, bool rate, bool bytesMode);

// Seconds as hours:minutes:seconds, "%3.2d:%2.2d:%2.2d" (" 01:02:05", "100:00:00").
std::string FormatDuration(std::int64_t seconds);

// "%.1f" of a value, as printf writes it (and as FormatDouble spells what is not finite).
std::string FormatOneDecimal(double value);

// printf of one double with one conversion such as "%.1f" or "%.17g", but with one spelling of
// infinities and NaNs on every platform ("inf", "-inf", "nan", "-nan").
std::string FormatDouble(const char* format, double value);

// The decimal number at the start of a text: leading blanks and a sign allowed, reading stops at
// the first non-digit, 0 for a text without digits. Values beyond the int range clamp.
int DecimalPrefix(const std::string& text);

// A number as the user types it into a field: digits with at most one decimal sign (the German
// comma read as the point), blanks around it allowed, and a leading minus where `minusAllowed`.
// False, with `value` 0, for anything else.
bool ParseTypedDecimal(const std::string& text, bool minusAllowed, double& value);

}  // namespace history
