// histdump: prints the history summary (or the raw records) of a history file, for scripts.
// It only reads: a missing file is not created and the backup copy is not touched.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "app_texts.h"
#include "calendar_date.h"
#include "csv_report.h"
#include "history_store.h"
#include "history_summary.h"
#include "language.h"
#include "settings_store.h"
#include "spreadsheet_report.h"
#include "value_format.h"
#include "worksheet_model.h"

namespace {

const char kUsage[] =
    "usage: histdump [--today YYYY-MM-DD] [--start-day N] [--bits] [--ini PATH] [--lang N]\n"
    "                [--records | --report LEVEL TEXT | --csv LEVEL TEXT] FILE\n"
    "  --report 1 MM/YYYY   the spreadsheet report of a month row, one written cell per line (CELL<TAB>text)\n"
    "  --report 2 DAY       the same for a day row, DAY in the active date style\n"
    "  --csv LEVEL TEXT     the viewer's CSV file of a row: LEVEL 0 a year (YYYY), 1 a month (MM/YYYY),\n"
    "                       2 a day in the date style of --lang; the first row of that level that matches\n"
    "Texts are written in UTF-8 natively and in the ANSI code page on Windows.\n";

struct Options {
    bool haveToday = false;
    int todayYear = 0, todayMonth = 0, todayDay = 0;
    bool haveStartDay = false;
    int startDay = 0;
    bool bits = false;
    std::string ini;
    int language = 0;
    bool records = false;
    bool report = false;
    bool csv = false;  // the report as CSV
    int reportLevel = 0;
    std::string reportText;
    std::string file;
};

bool ParseInt(const char* text, int& value) {
    if (text == nullptr || *text == '\0')
        return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (*end != '\0' || errno == ERANGE || parsed < -2147483647L - 1 || parsed > 2147483647L)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool ParseDate(const char* text, Options& options) {
    int year = 0, month = 0, day = 0;
    char tail = 0;
    if (std::sscanf(text, "%d-%d-%d%c", &year, &month, &day, &tail) != 3)
        return false;
    if (month < 1 || month > 12 || day < 1 || day > history::CalendarDate::DaysInMonth(month, year))
        return false;
    options.haveToday = true;
    options.todayYear = year;
    options.todayMonth = month;
    options.todayDay = day;
    return true;
}

// Gives false, with a message, for a command line that does not fit the usage.
bool ParseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needValue = [&]() {
            if (value != nullptr)
                return true;
            std::fprintf(stderr, "histdump: %s needs a value\n", arg.c_str());
            return false;
        };
        if (arg == "--today") {
            if (!needValue())
                return false;
            if (!ParseDate(value, options)) {
                std::fprintf(stderr, "histdump: --today takes a date as YYYY-MM-DD, not '%s'\n", value);
                return false;
            }
            ++i;
        } else if (arg == "--start-day" || arg == "--lang") {
            if (!needValue())
                return false;
            int number = 0;
            if (!ParseInt(value, number)) {
                std::fprintf(stderr, "histdump: %s takes a whole number, not '%s'\n", arg.c_str(), value);
                return false;
            }
            if (arg == "--lang") {
                options.language = number;
            } else {
                options.haveStartDay = true;
                options.startDay = number;
            }
            ++i;
        } else if (arg == "--ini") {
            if (!needValue())
                return false;
            options.ini = value;
            ++i;
        } else if (arg == "--bits") {
            options.bits = true;
        } else if (arg == "--records") {
            options.records = true;
        } else if (arg == "--report" || arg == "--csv") {
            int level = 0;
            const int lowest = arg == "--csv" ? 0 : 1;
            if (i + 2 >= argc || !ParseInt(argv[i + 1], level) || level < lowest || level > 2) {
                std::fprintf(stderr, "histdump: %s takes a level (%d to 2) and a row text\n", arg.c_str(), lowest);
                return false;
            }
            if (options.report) {
                std::fprintf(stderr, "histdump: one report at a time, please\n");
                return false;
            }
            options.report = true;
            options.csv = arg == "--csv";
            options.reportLevel = level;
            options.reportText = argv[i + 2];
            i += 2;
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "histdump: unknown option %s\n", arg.c_str());
            return false;
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            std::fprintf(stderr, "histdump: only one history file, please\n");
            return false;
        }
    }
    if (options.file.empty()) {
        std::fprintf(stderr, "histdump: no history file named\n");
        return false;
    }
    if (options.report && options.records) {
        std::fprintf(stderr, "histdump: --records and a report do not go together\n");
        return false;
    }
    return true;
}

// The texts are made in the viewer's 8-bit code page (Windows-1252); a native terminal reads UTF-8.
#ifdef _WIN32
void Emit(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}
#else
void Emit(const std::string& text) {
    // Windows-1252's letters in 0x80..0x9F; its five unassigned bytes keep their own code points.
    static const unsigned short kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                             0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                             0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                             0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        const unsigned code = c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c;
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}
#endif

void PrintRecords(const std::vector<history::DayRecord>& records) {
    for (const history::DayRecord& r : records) {
        std::printf("%d\t%d\t%d\t%d\t%s\t%s\n", r.year, r.month, r.day, r.onlineSeconds,
                    history::FormatDouble("%.17g", r.downloadBytes).c_str(),
                    history::FormatDouble("%.17g", r.uploadBytes).c_str());
    }
}

void PrintSummary(const history::HistorySummary& summary) {
    std::string line;
    for (const history::SummaryRow& row : summary.rows) {
        line = std::to_string(row.level) + '\t' + std::to_string(row.image) + '\t' + row.text;
        for (int c = 0; c < 4; ++c) {
            line += '\t';
            if (row.columnSet[c])
                line += row.columns[c];
        }
        line += '\n';
        Emit(line);
    }
    if (summary.expand)
        std::printf("expand %zu\n", summary.lastYearRow);
}

// The viewer's CSV file of a row: the day rows the tree shows under it.
void PrintCsv(const Options& options, const std::vector<history::DayRecord>& records,
              const history::CalendarDate& today, int startDay) {
    const history::HistorySummary summary = history::BuildHistorySummary(records, today, startDay);
    const std::string csv = report::CsvOfDayRows(
        summary, report::SelectCsvRows(summary, options.reportLevel, options.reportText),
        history::LoadAppText(report::kCsvCaptionsId), report::CsvSeparator(history::CurrentDateStyle()));
    std::fwrite(csv.data(), 1, csv.size(), stdout);
}

// The report of a row as the viewer writes it into a spreadsheet, cell by cell.
void PrintReport(const Options& options, const std::vector<history::DayRecord>& records, int startDay) {
    std::string texts[4];
    (options.reportLevel == 1 ? texts[3] : texts[0]) = options.reportText;
    const report::ReportPeriod period = report::ReportPeriodOf(options.reportLevel, texts, startDay);
    report::WorksheetModel sheet;
    sheet.StartApplication(report::kReportTitle);
    report::WriteReport(sheet, period, records, &history::LoadAppText);
    for (const std::string& cell : sheet.WrittenCells())
        Emit(cell + '\n');
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes as the native build: no CR before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    history::MonitorSettings settings;
    if (!options.ini.empty())
        settings = history::LoadMonitorSettingsFrom(options.ini);
    if (options.bits)
        settings.DisplayBytes = 0;
    if (options.haveStartDay)
        settings.g_History_StartDayOfMonth = options.startDay;
    history::SetCurrentSettings(settings);
    history::SetLanguageIndex(options.language);

    std::vector<history::DayRecord> records;
    if (!history::ReadHistoryFile(options.file, records)) {
        std::fprintf(stderr, "histdump: cannot read the history file %s\n", options.file.c_str());
        return 1;
    }
    history::CalendarDate today = history::CalendarDate::Today();  // also loads the names
    if (options.haveToday)
        today = history::CalendarDate(options.todayDay, options.todayMonth, options.todayYear);
    if (options.records) {
        PrintRecords(records);
    } else if (options.csv) {
        PrintCsv(options, records, today, settings.g_History_StartDayOfMonth);
    } else if (options.report) {
        PrintReport(options, records, settings.g_History_StartDayOfMonth);
    } else {
        PrintSummary(history::BuildHistorySummary(records, today, settings.g_History_StartDayOfMonth));
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
