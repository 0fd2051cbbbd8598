#include "csv_report.h"

#include <cmath>
#include <cstdio>

#include "value_format.h"

namespace report {
namespace {

using history::SummaryRow;

bool IsDayRow(const SummaryRow& row) {
    return row.level == history::kLevelDay && row.image != history::kImageSum;
}

const std::string& KeyText(const SummaryRow& row, int level) {
    static const std::string none;
    if (level == history::kLevelMonth)
        return row.columnSet[2] ? row.columns[2] : none;
    return row.text;
}

bool Matches(const SummaryRow& row, int level, const std::string& text) {
    return row.level == level && KeyText(row, level) == text;
}

int FindRow(const std::vector<SummaryRow>& rows, int level, const std::string& text, int hint) {
    return history::FindRowNear(rows, hint, [&](const SummaryRow& row) { return Matches(row, level, text); });
}

// A byte count as a whole number, halves away from zero; empty for what is no finite number.
std::string WholeBytes(double bytes) {
    if (!std::isfinite(bytes))
        return std::string();
    const double whole = std::round(bytes);
    return whole == 0 ? std::string("0") : history::FormatDouble("%.0f", whole);
}

}  // namespace

char CsvSeparator(history::DateStyle style) {
    return style == history::DateStyle::Dotted ? ';' : ',';
}

CsvSelection SelectCsvRows(const history::HistorySummary& summary, int level, const std::string& text, int hint) {
    const std::vector<SummaryRow>& rows = summary.rows;
    CsvSelection selection;
    int clicked = FindRow(rows, level, text, hint);
    if (clicked < 0)
        return selection;
    // A day or sum row stands for its month: the row it hangs under. Only a damaged file has days
    // before any month or year row; they are a month of their own then.
    std::size_t begin = static_cast<std::size_t>(clicked);
    if (level == history::kLevelDay) {
        while (begin > 0 && rows[begin - 1].level == history::kLevelDay)
            --begin;
        selection.head = begin > 0 ? static_cast<int>(begin - 1) : -1;
    } else {
        selection.head = clicked;
        ++begin;
    }
    // A year row's days run to the next year row, a month row's to the next month or year row.
    const int stop = selection.head >= 0 ? rows[selection.head].level : history::kLevelMonth;
    for (std::size_t i = begin; i < rows.size() && rows[i].level > stop; ++i) {
        if (IsDayRow(rows[i]))
            selection.days.push_back(i);
    }
    return selection;
}

std::string CsvOfDayRows(const history::HistorySummary& summary, const CsvSelection& selection,
                         const std::string& captions, char separator) {
    std::string out;
    for (char c : captions)
        out += c == '|' ? separator : c;
    out += "\r\n";
    for (std::size_t index : selection.days) {
        const SummaryRow& row = summary.rows[index];
        char date[48];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", row.year, row.month, row.day);
        // Each field the rounded sum of the day's possible volumes of its column, empty where the day
        // has none; the total is what the two fields hold, empty when both are.
        const std::string download = row.anyDownload ? WholeBytes(row.downloadBytes) : std::string();
        const std::string upload = row.anyUpload ? WholeBytes(row.uploadBytes) : std::string();
        const std::string both = download.empty() && upload.empty()
                                     ? std::string()
                                     : WholeBytes((row.anyDownload ? std::round(row.downloadBytes) : 0.0) +
                                                  (row.anyUpload ? std::round(row.uploadBytes) : 0.0));
        out += date;
        for (const std::string* field : {&download, &upload, &both}) {
            out += separator;
            out += *field;
        }
        out += separator;
        out += std::to_string(row.onlineSeconds);
        out += "\r\n";
    }
    return out;
}

std::string CsvFileName(const history::HistorySummary& summary, const CsvSelection& selection) {
    if (selection.head >= 0) {
        const SummaryRow& head = summary.rows[selection.head];
        char name[64];
        if (head.level == history::kLevelYear && head.year >= 1 && head.year <= 9999) {
            std::snprintf(name, sizeof name, "Lumetra %04d.csv", head.year);
            return name;
        }
        if (head.level == history::kLevelMonth && head.year >= 1 && head.year <= 9999 && head.month >= 1 &&
            head.month <= 12) {
            std::snprintf(name, sizeof name, "Lumetra %04d-%02d.csv", head.year, head.month);
            return name;
        }
    }
    return "Lumetra.csv";
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes, history::FileSystem& files,
                        unsigned long* error) {
    return history::ReplaceWithNewFile(
        files, path, path + ".tmp", [&](std::FILE* out) { return files.Write(out, bytes.data(), bytes.size()); },
        error);
}

}  // namespace report
