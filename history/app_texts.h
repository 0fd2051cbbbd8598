// Texts of the active language, by string-table ID.
#pragma once

#include <string>

namespace history {

// String IDs of the names shared by the date type and the viewer's string tables.
constexpr int kFirstDayNameId = 108;    // Saturday; 7 names
constexpr int kFirstMonthNameId = 115;  // January; 12 names
// Column captions of the viewer's list and the report.
constexpr int kCaptionDateId = 104;
constexpr int kCaptionUploadId = 105;
constexpr int kCaptionDownloadId = 106;
constexpr int kCaptionBothId = 107;
constexpr int kCaptionOnlineId = 127;

// Gives the text of a string ID in the active language, or an empty text for an unknown ID.
// The viewer installs a loader that reads its own string tables; until then the built-in table
// serves: German for language index 0, English for every other index.
std::string LoadAppText(int id);

using AppTextLoader = std::string (*)(int id);
void SetAppTextLoader(AppTextLoader loader);  // nullptr restores the built-in table

// The built-in table itself: German (language 0) or English texts of an ID; empty when unknown.
std::string BuiltInAppText(int id, bool german);

}  // namespace history
