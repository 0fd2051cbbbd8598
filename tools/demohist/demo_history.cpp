#include "demo_history.h"

#include <cstdio>

namespace demo {
namespace {

// xorshift64*: the same numbers everywhere, unlike the standard library's distributions.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ULL) {}
    std::uint64_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1DULL;
    }
    // A whole number in [low, high].
    std::int64_t Between(std::int64_t low, std::int64_t high) {
        return low + static_cast<std::int64_t>(Next() % static_cast<std::uint64_t>(high - low + 1));
    }
    bool Chance(int percent) { return Between(1, 100) <= percent; }

private:
    std::uint64_t state_;
};

void NextDay(history::CalendarDate& date) {
    if (date.day < history::CalendarDate::DaysInMonth(date.month, date.year)) {
        ++date.day;
    } else if (date.month < 12) {
        date.day = 1;
        ++date.month;
    } else {
        date.day = 1;
        date.month = 1;
        ++date.year;
    }
}

// One day's traffic; a session of `share` percent of the day's usual amount.
history::DayRecord MakeDay(Random& random, const history::CalendarDate& date, int share) {
    const bool weekend = date.DayOfWeek() <= 1;
    const std::int64_t megabytes = weekend ? random.Between(40, 900) : random.Between(150, 4200);
    history::DayRecord r;
    r.year = date.year;
    r.month = date.month;
    r.day = date.day;
    r.downloadBytes = static_cast<double>(megabytes * 1048576 / 100 * share + random.Between(0, 1048575));
    r.uploadBytes = static_cast<double>(static_cast<std::int64_t>(r.downloadBytes) / random.Between(6, 14));
    r.onlineSeconds = static_cast<std::int32_t>(random.Between(1800, weekend ? 30000 : 57600) * share / 100);
    return r;
}

}  // namespace

std::vector<history::DayRecord> MakeDemoHistory(const DemoOptions& options) {
    Random random(options.seed);
    std::vector<history::DayRecord> records;
    history::CalendarDate date = options.first;
    bool turnWritten = false;
    while (date.IsEarlierOrEqual(options.last)) {
        if (!random.Chance(6)) {  // some days the computer stays off
            const int sessions = random.Chance(8) ? static_cast<int>(random.Between(2, 3)) : 1;
            for (int s = 0; s < sessions; ++s) {
                history::DayRecord r = MakeDay(random, date, 100 / sessions);
                // The first days of one January, kept as month 13 of the year before.
                if (!turnWritten && date.month == 1 && date.day <= 3 && date.year > options.first.year) {
                    r.year = date.year - 1;
                    r.month = 13;
                }
                records.push_back(r);
            }
        }
        if (date.month == 1 && date.day == 3 && date.year > options.first.year)
            turnWritten = true;
        NextDay(date);
    }
    return records;
}

std::vector<history::DayRecord> MakeLongHistory(std::size_t count, std::uint64_t seed) {
    Random random(seed);
    std::vector<history::DayRecord> records;
    records.reserve(count);
    history::CalendarDate date(1, 1, 1990);
    while (records.size() < count) {
        records.push_back(MakeDay(random, date, 100));
        NextDay(date);
    }
    return records;
}

bool WriteHistoryFile(const std::string& path, const std::vector<history::DayRecord>& records) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = true;
    unsigned char bytes[history::kDayRecordSize];
    for (const history::DayRecord& r : records) {
        history::EncodeDayRecord(r, bytes);
        ok = ok && std::fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes;
    }
    return std::fclose(file) == 0 && ok;
}

}  // namespace demo
