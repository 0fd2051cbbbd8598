// One day of the monitor's history file: 32 bytes, little-endian, no header.
#pragma once

#include <cstddef>
#include <cstdint>

namespace history {

struct DayRecord {
    std::int32_t year = 0;
    std::int32_t month = 0;  // 1..12 as written; 13 and 0 are read as the neighbouring years' months
    std::int32_t day = 0;
    std::int32_t onlineSeconds = 0;  // 0..86400 when sound
    double downloadBytes = 0;
    double uploadBytes = 0;
};

constexpr std::size_t kDayRecordSize = 32;

// The record's bytes as they stand in the file, and back.
DayRecord DecodeDayRecord(const unsigned char* bytes);
void EncodeDayRecord(const DayRecord& record, unsigned char* bytes);

}  // namespace history
