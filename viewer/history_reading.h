// The history as the viewer's read-only commands (chart, CSV export) read it: afresh, without
// creating it or touching its backup.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "day_record.h"
#include "prompts.h"

namespace viewer {

// Reads data\volume.hst into `records`; a missing file gives none. False, after telling the user in
// a box with `caption`, when the file is there but cannot be read.
bool ReadHistoryOrTell(HWND owner, winapp::Prompts& prompts, const std::string& caption,
                       std::vector<history::DayRecord>& records);

}  // namespace viewer
