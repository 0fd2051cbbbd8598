// demohist: writes the demo history file (the same bytes on every run and machine for the same
// last day). `--last YYYY-MM-DD` ends it on that day instead of the fixed one the tests know.
#include <cstdio>
#include <cstring>

#include "demo_history.h"

namespace {

bool ReadDate(const char* text, history::CalendarDate& date) {
    int year = 0, month = 0, day = 0;
    char rest = 0;
    if (std::sscanf(text, "%4d-%2d-%2d%c", &year, &month, &day, &rest) != 3 || year < 1990 || month < 1 || month > 12 ||
        day < 1 || day > history::CalendarDate::DaysInMonth(month, year)) {
        return false;
    }
    date = history::CalendarDate(day, month, year);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    demo::DemoOptions options;
    int next = 1;
    if (argc == 4 && std::strcmp(argv[1], "--last") == 0) {
        if (!ReadDate(argv[2], options.last) || options.last.IsEarlierOrEqual(options.first)) {
            std::fprintf(stderr, "demohist: not a day after %d-%02d-%02d: %s\n", options.first.year,
                         options.first.month, options.first.day, argv[2]);
            return 2;
        }
        next = 3;
    } else if (argc != 2) {
        std::fputs("usage: demohist [--last YYYY-MM-DD] FILE\n", stderr);
        return 2;
    }
    if (!demo::WriteHistoryFile(argv[next], demo::MakeDemoHistory(options))) {
        std::fprintf(stderr, "demohist: cannot write %s\n", argv[next]);
        return 1;
    }
    return 0;
}
