#include "history_reading.h"

#include "file_system.h"
#include "history_store.h"
#include "monitor_contract.h"
#include "resource.h"
#include "resources.h"

namespace viewer {

bool ReadHistoryOrTell(HWND owner, winapp::Prompts& prompts, const std::string& caption,
                       std::vector<history::DayRecord>& records) {
    records.clear();
    if (history::ReadHistoryFile(monitor::kHistoryFile, records))
        return true;
    if (!history::RealFileSystem().Exists(monitor::kHistoryFile))
        return true;
    prompts.ShowMessage(owner, winapp::LoadText(IDS_HISTORY_NOT_READ), caption, MB_OK | MB_ICONWARNING);
    return false;
}

}  // namespace viewer
