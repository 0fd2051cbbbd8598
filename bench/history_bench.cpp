// Prints the cost of loading and summarising history files of growing size, per record, next to
// the cost of merely reading the same file. Figures only; nothing here passes or fails.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "demo_history.h"
#include "history_store.h"
#include "history_summary.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename Work>
double BestSeconds(int rounds, Work work) {
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

std::size_t ReadRaw(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return 0;
    std::vector<char> buffer(1 << 16);
    std::size_t total = 0, got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0)
        total += got;
    std::fclose(file);
    return total;
}

}  // namespace

int main() {
    // glibc reuses freed blocks of up to 32 MiB but maps larger ones afresh: without a fixed
    // threshold the small files would run on warm memory and the large one on new pages. Every size
    // is measured as a fresh program meets it: on newly mapped memory.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    const std::string path = "history_bench.hst";
    const history::CalendarDate today(1, 1, 9999);
    std::printf("%10s %14s %14s %8s %10s\n", "records", "load+sum ns/r", "raw read ns/r", "ratio", "rows");
    double first = 0;
    for (std::size_t count : {std::size_t{10000}, std::size_t{100000}, std::size_t{1000000}}) {
        if (!demo::WriteHistoryFile(path, demo::MakeLongHistory(count))) {
            std::fprintf(stderr, "history_bench: cannot write %s\n", path.c_str());
            return 1;
        }
        const int rounds = count >= 1000000 ? 3 : 7;
        std::size_t rows = 0;
        const double summary = BestSeconds(rounds, [&] {
            std::vector<history::DayRecord> records;
            history::ReadHistoryFile(path, records);
            rows = history::BuildHistorySummary(records, today, 1).rows.size();
        });
        const double raw = BestSeconds(rounds, [&] { ReadRaw(path); });
        const double perRecord = summary / static_cast<double>(count) * 1e9;
        if (first == 0)
            first = perRecord;
        std::printf("%10zu %14.1f %14.1f %8.1f %10zu   (per record %.2fx the 10,000-record figure)\n", count, perRecord,
                    raw / static_cast<double>(count) * 1e9, summary / raw, rows, perRecord / first);
    }
    std::remove(path.c_str());
    return 0;
}
