#include "record_targets.h"

#include <cmath>
#include <string>

#include "value_format.h"

namespace viewer {
namespace {

bool IsSumRow(const history::SummaryRow& row) {
    return row.level == history::kLevelDay && row.image == history::kImageSum;
}

}  // namespace

int FindClickedRow(const history::HistorySummary& summary, int level, const std::string (&texts)[4], int hint) {
    if (level == history::kLevelDay && texts[0] == kSumLabel)
        return -1;
    return history::FindRowNear(summary.rows, hint, [&](const history::SummaryRow& row) {
        if (row.level != level || row.text != texts[0] || IsSumRow(row))
            return false;
        return level != history::kLevelMonth || (row.columnSet[2] && row.columns[2] == texts[3]);
    });
}

std::vector<std::size_t> RecordsOfRow(const history::SummaryRow& row, const std::vector<history::DayRecord>& records,
                                      const history::CalendarDate& today) {
    std::vector<std::size_t> positions;
    for (std::size_t i = row.firstRecord; i < row.endRecord && i < records.size(); ++i) {
        if (history::RowShowsRecord(row, records, i, today))
            positions.push_back(i);
    }
    return positions;
}

std::string PrefillText(double countedBytes, bool anyPossible) {
    return anyPossible ? MegabytesText(countedBytes) : std::string();
}

EditTarget EditTargetOf(int level, const std::string& label, const history::CalendarDate& today) {
    EditTarget target;
    target.date = today;
    if (label != kSumLabel) {
        history::CalendarDate parsed;
        parsed.ParseText(label);
        target.date.CopyChecked(history::CalendarDate::OfStored(parsed.year, parsed.month, parsed.day));
    }
    target.opensDialog = level == 2 && label != kSumLabel && !target.date.Equals(today);
    return target;
}

std::string MegabytesText(double bytes) {
    return history::FormatDouble("%.2f", bytes / kBytesPerMegabyte);
}

TypedVolume BytesOfMegabytesText(const std::string& text, double& bytes) {
    bytes = 0;
    double megabytes = 0;
    if (!history::ParseTypedDecimal(text, false, megabytes))
        return TypedVolume::kNoNumber;
    if (!(megabytes <= kMaxTypedMegabytes))
        return TypedVolume::kTooLarge;
    bytes = megabytes * kBytesPerMegabyte;
    return TypedVolume::kAccepted;
}

}  // namespace viewer
