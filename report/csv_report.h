// The day rows of the history tree as a CSV data file: one line per day row with plain whole
// numbers (bytes and seconds), which a spreadsheet sums and charts as they are.
#pragma once

#include <string>
#include <vector>

#include "file_system.h"
#include "history_summary.h"
#include "language.h"

namespace report {

// String ID of the file's column captions, separated by '|'.
constexpr int kCsvCaptionsId = 160;

// ';' where dates are dotted (German), ',' where they are slashed (English).
char CsvSeparator(history::DateStyle style);

// The rows a CSV file is made of: the year or month row whose day rows it holds, and those rows.
struct CsvSelection {
    int head = -1;  // the year or month row; -1 when the clicked row is not found
    std::vector<std::size_t> days;
};

// The clicked row, by its level and its key text (a year row's text, a month row's period label
// "MM/YYYY", a day row's label): the row at `hint` when it has them, else the first that has them.
// A year row gives its year's day rows, a month row its own, a day or sum row those of its month.
CsvSelection SelectCsvRows(const history::HistorySummary& summary, int level, const std::string& text, int hint = -1);

// The file: the captions (`captions` with '|' between them), then per day row its date as
// YYYY-MM-DD, download and upload rounded to whole bytes, their sum and the online seconds; every
// line ends in CR LF. Only possible volumes count: a column of a day that has none is left empty,
// and the sum is that of the fields written (empty when both are).
std::string CsvOfDayRows(const history::HistorySummary& summary, const CsvSelection& selection,
                         const std::string& captions, char separator);

// The name proposed for the file: "Lumetra 2026-11.csv" for a month, "Lumetra 2026.csv" for a year.
std::string CsvFileName(const history::HistorySummary& summary, const CsvSelection& selection);

// Writes `bytes` into a new file beside `path` and then puts it in the place of `path` in one
// step. On any failure the new file is removed, an existing file at `path` keeps its content, and
// the result is false; `error` (where given) is then the failing call's system error code.
bool WriteFileReplacing(const std::string& path, const std::string& bytes,
                        history::FileSystem& files = history::RealFileSystem(), unsigned long* error = nullptr);

}  // namespace report
