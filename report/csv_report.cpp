#include "csv_report.h"

#include <cstdio>
#include <vector>

namespace report {
namespace {

// A field in quotes, with its quotes doubled, where it holds the separator, a quote or a line break.
void AppendField(std::string& line, const std::string& field, char separator) {
    if (field.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos) {
        line += field;
        return;
    }
    line += '"';
    for (char c : field) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

void AppendLine(std::string& out, const std::vector<std::string>& fields, char separator) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += separator;
        AppendField(out, fields[i], separator);
    }
    out += "\r\n";
}

// "1.5 MB" as the number "1,5" (in the style's decimal sign) and the unit "MB".
void AppendVolume(std::vector<std::string>& fields, const std::string& volume, CsvStyle style) {
    const std::size_t blank = volume.rfind(' ');
    std::string number = blank == std::string::npos ? volume : volume.substr(0, blank);
    for (char& c : number) {
        if (c == '.')
            c = style.decimal;
    }
    fields.push_back(number);
    fields.push_back(blank == std::string::npos ? std::string() : volume.substr(blank + 1));
}

std::string WithoutPadding(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::vector<std::string> LineFields(const ReportLine& line, CsvStyle style) {
    std::vector<std::string> fields{line.date};
    AppendVolume(fields, line.download, style);
    AppendVolume(fields, line.upload, style);
    AppendVolume(fields, line.both, style);
    fields.push_back(WithoutPadding(line.online));
    return fields;
}

}  // namespace

// The locales of German, French, Spanish, Dutch and Polish (indexes 0, 2..5) write decimal commas
// and separate lists with semicolons, English's with points and commas. Other indexes leave the
// system's locale in force, which the file must not depend on: they follow the date style, dotted
// (negative indexes) as German, slashed as English.
CsvStyle CsvStyleOfLanguage(int languageIndex) {
    if (languageIndex == 1 || languageIndex > 5)
        return CsvStyle{',', '.'};
    return CsvStyle{';', ','};
}

std::string CsvReport(const ReportTable& table, CsvStyle style) {
    std::string out;
    // Eight fields a line: the date, three volumes of two fields each, the online time.
    AppendLine(out, {table.title, "", "", "", "", "", "", table.periodLabel}, style.separator);
    AppendLine(
        out,
        {table.captions[0], table.captions[1], "", table.captions[2], "", table.captions[3], "", table.captions[4]},
        style.separator);
    for (const ReportLine& line : table.lines)
        AppendLine(out, LineFields(line, style), style.separator);
    if (table.hasTotals)
        AppendLine(out, LineFields(table.totals, style), style.separator);
    return out;
}

std::string CsvFileName(const ReportPeriod& period) {
    const history::CalendarDate& month = period.month;
    if (month.year < 1 || month.year > 9999 || month.month < 1 || month.month > 12)
        return std::string(kReportTitle) + ".csv";
    char name[64];
    std::snprintf(name, sizeof name, "Lumetra %04d-%02d.csv", month.year, month.month);
    return name;
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes, history::FileSystem& files) {
    return history::ReplaceWithNewFile(files, path, path + ".tmp",
                                       [&](std::FILE* out) { return files.Write(out, bytes.data(), bytes.size()); });
}

}  // namespace report
