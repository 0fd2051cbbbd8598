// Random, truncated and mangled history files through loading and the summary. Run under the
// sanitizers, any overflow, overrun or undefined arithmetic on hostile data shows up here.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "history_store.h"
#include "history_summary.h"
#include "language.h"
#include "settings_store.h"
#include "test_files.h"

namespace history {
namespace {

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1DULL;
    }
    int Between(int low, int high) {
        return low + static_cast<int>(Next() % static_cast<std::uint64_t>(high - low + 1));
    }

private:
    std::uint64_t state_;
};

std::int32_t AnyInt(Random& random, int low, int high) {
    switch (random.Between(0, 9)) {
        case 0:
            return static_cast<std::int32_t>(random.Next());
        case 1:
            return random.Between(0, 1) ? INT32_MAX : INT32_MIN;
        default:
            return random.Between(low, high);
    }
}

double AnyVolume(Random& random) {
    std::uint64_t bits = random.Next();
    double value;
    switch (random.Between(0, 5)) {
        case 0:  // any bit pattern: NaNs, infinities, denormals
            std::memcpy(&value, &bits, sizeof value);
            return value;
        case 1:
            return 0;
        case 2:
            return -static_cast<double>(random.Between(0, 1 << 30));
        default:
            return static_cast<double>(bits % 5000000000ULL);
    }
}

std::string MakeFile(Random& random) {
    std::string bytes;
    if (random.Between(0, 3) == 0) {  // pure noise
        bytes.resize(static_cast<std::size_t>(random.Between(0, 700)));
        for (char& c : bytes)
            c = static_cast<char>(random.Next());
        return bytes;
    }
    std::vector<DayRecord> records(static_cast<std::size_t>(random.Between(0, 40)));
    int year = random.Between(1890, 2030);
    for (DayRecord& r : records) {
        if (random.Between(0, 4) == 0)
            year += random.Between(-2, 2);
        r.year = random.Between(0, 15) == 0 ? AnyInt(random, 1900, 2100) : year;
        r.month = AnyInt(random, -1, 14);
        r.day = AnyInt(random, -1, 32);
        r.onlineSeconds = AnyInt(random, -10, 90000);
        r.downloadBytes = AnyVolume(random);
        r.uploadBytes = AnyVolume(random);
    }
    bytes = RecordBytes(records);
    for (int flips = random.Between(0, 3); flips > 0 && !bytes.empty(); --flips) {
        bytes[random.Next() % bytes.size()] = static_cast<char>(random.Next());
    }
    if (random.Between(0, 2) == 0 && !bytes.empty())
        bytes.resize(random.Next() % bytes.size());  // truncated
    return bytes;
}

void CheckSummary(const HistorySummary& summary, std::size_t recordCount) {
    ASSERT_EQ(summary.expand, recordCount > 0);
    if (summary.rows.empty()) {
        ASSERT_EQ(summary.lastYearRow, 0u);
        return;
    }
    ASSERT_LT(summary.lastYearRow, summary.rows.size());
    std::size_t dayRows = 0;
    for (const SummaryRow& row : summary.rows) {
        ASSERT_GE(row.level, 0);
        ASSERT_LE(row.level, 2);
        ASSERT_GE(row.image, 0);
        ASSERT_LE(row.image, 4);
        if (row.level == 2 && row.image != kImageSum)
            ++dayRows;
    }
    ASSERT_LE(dayRows, recordCount);
}

TEST(HistoryFuzzTest, HostileFilesLoadAndSummariseSafely) {
    TempDir dir;
    const std::string path = dir.Path("volume.hst");
    dir.Path("volume.hst_backup");
    dir.Path("volume.hst.new");
    Random random(0x5eed);
    const CalendarDate today(8, 12, 2026);
    const int cases = 100000;
    for (int i = 0; i < cases; ++i) {
        const std::string bytes = MakeFile(random);
        dir.Write("volume.hst", bytes);
        std::vector<DayRecord> records;
        if (i % 10 == 0) {  // now and then through the store, with its backup and a save
            HistoryStore store(path);
            ASSERT_TRUE(store.Load());
            records = store.records;
            if (!records.empty()) {
                ASSERT_TRUE(store.DeleteByDay(records[0].year, records[0].month, records[0].day));
            }
        } else {
            ASSERT_TRUE(ReadHistoryFile(path, records));
        }
        ASSERT_EQ(records.size(), bytes.size() / kDayRecordSize);
        MonitorSettings settings;
        settings.DisplayBytes = random.Between(0, 1);
        SetCurrentSettings(settings);
        SetLanguageIndex(random.Between(-1, 2));
        CalendarDate::ReloadNames();
        const int startDay = random.Between(0, 9) == 0 ? AnyInt(random, -1, 35) : random.Between(-1, 35);
        const HistorySummary summary = BuildHistorySummary(records, today, startDay);
        CheckSummary(summary, records.size());
        if (HasFatalFailure()) {
            ADD_FAILURE() << "case " << i;
            return;
        }
    }
    SetLanguageIndex(0);
    SetCurrentSettings(MonitorSettings());
}

}  // namespace
}  // namespace history
