// Which stored volumes are a day's traffic at all. A damaged history can hold values no line
// carries in a day; they are shown as stored where a single record is shown, and left out of every
// total.
#pragma once

#include <cmath>

namespace history {

// Volumes are typed and shown in units of this many bytes, labelled "MB".
constexpr double kBytesPerMegabyte = 1048576.0;
// More than a line of 100 Gbit/s carries in a day (10^11 / 8 bytes a second for 86400 seconds).
constexpr double kMaxDayMegabytes = 1030000000.0;
constexpr double kMaxDayBytes = kMaxDayMegabytes * kBytesPerMegabyte;

// A download or upload of one record that can be a day's traffic: a finite number of 0 or more
// bytes, at most kMaxDayBytes.
inline bool IsPossibleVolume(double bytes) {
    return std::isfinite(bytes) && bytes >= 0 && bytes <= kMaxDayBytes;
}

// Online seconds of one record as they are shown and counted: 0..86400 as stored (a full day
// online included), any other value as 0.
inline int CountedOnlineSeconds(int seconds) {
    return seconds < 0 || seconds > 86400 ? 0 : seconds;
}

}  // namespace history
