// The report of one accounting month as a CSV file that any spreadsheet program opens in columns,
// made from the same rows as the worksheet.
#pragma once

#include <string>

#include "file_system.h"
#include "report_table.h"

namespace report {

struct CsvStyle {
    char separator = ';';
    char decimal = ',';
};

// The list separator and decimal sign of the locale a language index chooses.
CsvStyle CsvStyleOfLanguage(int languageIndex);

// The report's rows as lines of the CSV file, ended by CR LF. Each volume ("1.5 MB") becomes two
// fields, its number with the style's decimal sign and its unit, so that the number is read as one;
// online times lose the blank that pads them. Fields are quoted only where they must be.
std::string CsvReport(const ReportTable& table, CsvStyle style);

// The name proposed for the file of a period: "Lumetra 2026-11.csv".
std::string CsvFileName(const ReportPeriod& period);

// Writes `bytes` into a new file beside `path` and then puts it in the place of `path` in one
// step. On any failure the new file is removed, an existing file at `path` keeps its content, and
// the result is false.
bool WriteFileReplacing(const std::string& path, const std::string& bytes,
                        history::FileSystem& files = history::RealFileSystem());

}  // namespace report
