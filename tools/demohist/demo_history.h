// A made-up but plausible traffic history, the same on every machine for the same seed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calendar_date.h"
#include "day_record.h"

namespace demo {

struct DemoOptions {
    history::CalendarDate first{10, 3, 2022};  // first day of the history
    history::CalendarDate last{30, 11, 2026};  // last day of the history
    std::uint64_t seed = 20040507;
};

// Daily records from `first` to `last` in file order: quieter weekends, days offline, days with two
// or three records (the monitor restarted), and the turn of one year written with month 13 of the
// old year, as an accounting month that runs into January is stored.
std::vector<history::DayRecord> MakeDemoHistory(const DemoOptions& options = DemoOptions());

// `count` records of daily history starting in 1990, for measurements of large files.
std::vector<history::DayRecord> MakeLongHistory(std::size_t count, std::uint64_t seed = 1);

// Writes records to a file as the monitor does; false on any failure.
bool WriteHistoryFile(const std::string& path, const std::vector<history::DayRecord>& records);

}  // namespace demo
