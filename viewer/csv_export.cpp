#include "csv_export.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "calendar_date.h"
#include "csv_report.h"
#include "history_reading.h"
#include "history_summary.h"
#include "language.h"
#include "last_error.h"
#include "resource.h"
#include "resources.h"
#include "settings_store.h"

namespace viewer {
namespace {

class SystemFileChooserImpl : public FileChooser {
public:
    Result ChooseSaveFile(HWND owner, const std::string& title, const std::string& filter, const std::string& extension,
                          std::string& path, unsigned long& error) override {
        // The filter's parts are separated by '|' in the string table and by NULs for the dialog.
        std::vector<char> filters(filter.begin(), filter.end());
        for (char& c : filters) {
            if (c == '|')
                c = '\0';
        }
        filters.push_back('\0');
        filters.push_back('\0');
        const std::size_t slash = path.find_last_of('\\');
        const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
        std::vector<char> file(path.begin() + static_cast<std::ptrdiff_t>(slash == std::string::npos ? 0 : slash + 1),
                               path.end());
        file.resize(std::max<std::size_t>(file.size() + 1, 4 * MAX_PATH), '\0');

        OPENFILENAMEA dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = filters.data();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = file.data();
        dialog.nMaxFile = static_cast<DWORD>(file.size());
        dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
        dialog.lpstrTitle = title.c_str();
        dialog.lpstrDefExt = extension.c_str();
        dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

        // The viewer's data paths are relative to the working directory, which the dialog may move.
        char workingDirectory[MAX_PATH] = {};
        const DWORD kept = GetCurrentDirectoryA(MAX_PATH, workingDirectory);
        const BOOL chosen = GetSaveFileNameA(&dialog);
        error = chosen ? 0 : CommDlgExtendedError();
        if (kept > 0 && kept < MAX_PATH)
            SetCurrentDirectoryA(workingDirectory);
        if (!chosen)
            return error == 0 ? kCancelled : kFailed;
        path = file.data();
        return kChosen;
    }
};

}  // namespace

FileChooser& SystemFileChooser() {
    static SystemFileChooserImpl chooser;
    return chooser;
}

std::string DocumentsFolder() {
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::string();
    return folder;
}

void ExportCsv(HWND owner, winapp::Prompts& prompts, FileChooser& chooser, const std::string& caption, int level,
               const std::string (&texts)[4], int item, std::string& lastFolder) {
    // No history yet gives the captions alone; one that cannot be read, nothing.
    std::vector<history::DayRecord> records;
    if (!ReadHistoryOrTell(owner, prompts, caption, records))
        return;
    const history::HistorySummary summary = history::BuildHistorySummary(
        records, history::CalendarDate::Today(), history::CurrentSettings().g_History_StartDayOfMonth);
    const report::CsvSelection selection =
        report::SelectCsvRows(summary, level, level == history::kLevelMonth ? texts[3] : texts[0], item);

    const std::string folder = lastFolder.empty() ? DocumentsFolder() : lastFolder;
    std::string path = (folder.empty() ? std::string() : folder + "\\") + report::CsvFileName(summary, selection);
    unsigned long error = 0;
    switch (chooser.ChooseSaveFile(owner, winapp::LoadText(IDS_CSV_SAVE_TITLE), winapp::LoadText(IDS_CSV_FILTER), "csv",
                                   path, error)) {
        case FileChooser::kChosen:
            break;
        case FileChooser::kCancelled:
            return;
        case FileChooser::kFailed:
            prompts.ShowMessage(owner, winapp::LoadText(IDS_SAVE_DIALOG_FAILED, "%u", std::to_string(error)), caption,
                                MB_OK | MB_ICONSTOP);
            return;
    }
    const std::string bytes = report::CsvOfDayRows(summary, selection, winapp::LoadText(report::kCsvCaptionsId),
                                                   report::CsvSeparator(history::CurrentDateStyle()));
    if (!report::WriteFileReplacing(path, bytes, history::RealFileSystem(), &error)) {
        prompts.ShowMessage(owner, winapp::WithErrorText(winapp::LoadText(IDS_CSV_WRITE_FAILED, "%s", path), error),
                            caption, MB_OK | MB_ICONSTOP);
        return;
    }
    const std::size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos)
        lastFolder = path.substr(0, slash);
}

}  // namespace viewer
