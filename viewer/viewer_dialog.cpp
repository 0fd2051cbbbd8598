#include "viewer_dialog.h"

#include <algorithm>

#include "about_dialog.h"
#include "app.h"
#include "backup_pair.h"
#include "calendar_date.h"
#include "chart_window.h"
#include "edit_data_dialog.h"
#include "gdi.h"
#include "history_store.h"
#include "history_summary.h"
#include "last_error.h"
#include "monitor_contract.h"
#include "record_targets.h"
#include "resources.h"
#include "settings_store.h"
#include "spreadsheet_report.h"
#include "start_up.h"

namespace viewer {
namespace {

// Sent to itself after a DPI change, once the dialog's fonts are made for the new DPI.
constexpr UINT kFitColumnsMessage = WM_APP + 1;
// Room beside a text in a column (and its header), at 96 DPI: the list view's padding after the
// label and a little more.
constexpr int kColumnTextPadding = 16;

// Suspends the tree list's painting for a scope, however the scope is left.
class RedrawSuspended {
public:
    explicit RedrawSuspended(TreeListCtrl& list) : list_(list) { list_.SuspendRedraw(); }
    ~RedrawSuspended() { list_.ResumeRedraw(); }
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;

private:
    TreeListCtrl& list_;
};

}  // namespace

const winapp::MessageMap<ViewerDialog> ViewerDialog::kMessages = {
    winapp::OnSysCommand(&ViewerDialog::OnSysCommand),
    winapp::OnPaint(&ViewerDialog::OnPaint),
    winapp::OnQueryDragIcon(&ViewerDialog::OnQueryDragIcon),
    winapp::OnMessage(WM_DESTROY, &ViewerDialog::OnDestroy),
    winapp::OnMessage(winapp::kDpiChangedMessage, &ViewerDialog::OnDpiChanged),
    winapp::OnMessage(kFitColumnsMessage, &ViewerDialog::OnFitColumns),
    winapp::OnCommand(IDC_UPDATE, &ViewerDialog::OnUpdate),
    winapp::OnNotify(IDC_TREELIST, kTreeListRightClick16, &ViewerDialog::OnTreeListRightClick),
    winapp::OnCommand(ID_DELETE, &ViewerDialog::DeleteEntry),
    winapp::OnCommand(ID_EDIT_DATA, &ViewerDialog::EditEntry),
    winapp::OnCommand(IDC_RESTORE, &ViewerDialog::RestoreBackup),
    winapp::OnCommand(ID_EXCEL_EXPORT, &ViewerDialog::ExcelExport),
    winapp::OnCommand(ID_CSV_EXPORT, &ViewerDialog::CsvExport),
    winapp::OnCommand(ID_CHART, &ViewerDialog::ShowChart),
};

ViewerDialog::ViewerDialog(std::string programPath, winapp::Prompts& prompts)
    : Dialog(IDD_HISTVIEW_DIALOG),
      programPath_(std::move(programPath)),
      prompts_(prompts),
      icon_(winapp::LoadIconResource(IDR_MAINFRAME)) {}

bool ViewerDialog::OnInitDialog() {
    BindControl(treeList_, IDC_TREELIST);

    const std::string about = winapp::LoadText(IDS_ABOUTBOX);
    HMENU systemMenu = GetSystemMenu(hwnd(), FALSE);
    if (systemMenu != nullptr && !about.empty()) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }

    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

    dpi_ = winapp::DpiOf(hwnd());
    CreateColumns();
    MakeImages();

    MoveToProgramFolder();
    Refresh();
    return true;
}

// Each caption inserted at position 1 pushes the earlier ones right: Date, Download, Upload,
// Up&Download, Onlinetime.
void ViewerDialog::CreateColumns() {
    const winapp::DpiScale px(dpi_);
    treeList_.InsertColumn(0, winapp::LoadText(IDS_COLUMN_DATE), LVCFMT_LEFT, px(kDateColumnWidth));
    for (int caption : {IDS_COLUMN_ONLINE, IDS_COLUMN_BOTH, IDS_COLUMN_UPLOAD, IDS_COLUMN_DOWNLOAD}) {
        treeList_.InsertColumn(1, winapp::LoadText(caption), LVCFMT_RIGHT, px(kValueColumnWidth));
    }
}

void ViewerDialog::MakeImages() {
    treeList_.SetDpi(dpi_);
    int size = 0;
    winapp::ImageList images = LoadSmallImages(dpi_, size);
    if (!images && smallImages_)
        return;  // the old ones stay rather than none
    treeList_.SetImageList(images.get(), LVSIL_SMALL);
    smallImages_ = std::move(images);
}

// Every column shows its caption whole, and the first one the label of every row, expanded or
// not, at its level's indent: measured in the list's own font, so at any DPI and in any language.
void ViewerDialog::FitColumns() {
    HWND list = treeList_.hwnd();
    if (list == nullptr)
        return;
    const winapp::DpiScale px(dpi_);
    const winapp::WindowDc dc(list);
    if (!dc)
        return;
    HFONT font = reinterpret_cast<HFONT>(treeList_.Send(WM_GETFONT));
    const winapp::Selection selected(dc.get(),
                                     font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    auto textWidth = [&](const std::string& text) {
        SIZE size{};
        GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const int padding = px(kColumnTextPadding);
    // The header's margins on both sides of a caption.
    const int captionPadding = std::max(2 * 3 * GetSystemMetrics(SM_CXEDGE), px(12)) + 1;
    // A caption shows its ampersands as mnemonic marks, not as characters.
    auto shown = [](const std::string& text) {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '&' && i + 1 < text.size())
                ++i;
            out += text[i];
        }
        return out;
    };
    char caption[256];
    for (int column = 0; column < treeList_.winapp::ListView::ColumnCount(); ++column) {
        LVCOLUMNA info{};
        info.mask = LVCF_TEXT;
        info.pszText = caption;
        info.cchTextMax = sizeof caption;
        caption[0] = 0;
        treeList_.Send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        // At 96 DPI the value columns keep their widths as they always were; at higher DPIs, where
        // the font grows in steps of its own, each is as wide as its caption needs.
        int width = px(column == 0 ? kDateColumnWidth : kValueColumnWidth);
        if (column == 0 || dpi_ > winapp::kDefaultDpi)
            width = std::max(width, textWidth(shown(caption)) + captionPadding);
        if (column == 0) {
            // Before the label: the expand box, the small image and the indent steps.
            const int size = treeList_.imageSize();
            int widest = 0;
            for (const TreeListItem& item : treeList_.items()) {
                if (!item.texts.empty())
                    widest = std::max(widest, item.nLevel * size + textWidth(item.texts[0]));
            }
            width = std::max(width, 2 * size + px(4) + widest + padding);
        }
        if (treeList_.ColumnWidth(column) != width)
            treeList_.SetColumnWidth(column, width);
    }
}

// The window moved to a monitor of another DPI, or the scaling changed: it takes the place the
// system suggests, and the tree its images and columns made anew for the new DPI; the dialog's
// fonts are made anew by the default handling, after which the columns are fitted again.
bool ViewerDialog::OnDpiChanged(WPARAM wParam, LPARAM lParam, LRESULT&) {
    const UINT old = dpi_;
    dpi_ = LOWORD(wParam) != 0 ? LOWORD(wParam) : winapp::DpiOf(hwnd());
    if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (dpi_ != old) {
        MakeImages();
        for (int column = 0; column < treeList_.winapp::ListView::ColumnCount(); ++column) {
            treeList_.SetColumnWidth(
                column, MulDiv(treeList_.ColumnWidth(column), static_cast<int>(dpi_), static_cast<int>(old)));
        }
    }
    PostMessageA(hwnd(), kFitColumnsMessage, 0, 0);
    return false;
}

bool ViewerDialog::OnFitColumns(WPARAM, LPARAM, LRESULT& result) {
    FitColumns();
    result = 0;
    return true;
}

// All data paths are relative to the program's folder.
void ViewerDialog::MoveToProgramFolder() {
    std::string folder;
    if (ProgramFolderOf(programPath_, folder))
        SetCurrentDirectoryA(folder.c_str());
}

// An unreadable history is told, never shown as an empty one; and nothing the fill meets (a history
// too large to hold, say) ends the program.
void ViewerDialog::Refresh(bool tellImpossible) {
    try {
        Fill(tellImpossible);
    } catch (const std::exception&) {
        treeList_.DeleteAllTreeItems();
        ShowUnreadable();
    }
}

void ViewerDialog::Fill(bool tellImpossible) {
    // Reading needs no write access: a read-only history, or one held open by another program
    // that lets others read it, is shown in full.
    history::HistoryStore store(monitor::kHistoryFile);
    const history::HistoryStore::ReadResult read = store.LoadForReading();
    std::size_t impossibleDays = 0;
    std::string firstImpossibleDay;
    {
        // The list is laid out and painted once for the whole fill, not once per row it gains,
        // however the fill ends.
        const RedrawSuspended once(treeList_);
        treeList_.DeleteAllTreeItems();
        if (read != history::HistoryStore::ReadResult::kUnreadable) {
            const history::HistorySummary summary = history::BuildHistorySummary(
                store.records, history::CalendarDate::Today(), history::CurrentSettings().g_History_StartDayOfMonth);
            FillFrom(summary, !store.records.empty());
            impossibleDays = summary.impossibleDays;
            firstImpossibleDay = summary.firstImpossibleDay;
        }
    }
    FitColumns();
    if (read == history::HistoryStore::ReadResult::kUnreadable)
        ShowUnreadable();
    // Told once for what was read, not again after each command.
    if (tellImpossible && impossibleDays > 0) {
        std::string text = winapp::LoadText(IDS_IMPOSSIBLE_VOLUMES, "%u", std::to_string(impossibleDays));
        const std::size_t at = text.find("%s");
        if (at != std::string::npos)
            text.replace(at, 2, firstImpossibleDay);
        prompts_.ShowMessage(hwnd(), text, ProgramCaption(), MB_OK | MB_ICONWARNING);
    }
}

void ViewerDialog::FillFrom(const history::HistorySummary& summary, bool anyRecord) {
    treeList_.ReserveTreeItems(summary.rows.size());
    for (const history::SummaryRow& row : summary.rows) {
        const std::int32_t item = treeList_.InsertTreeItem(row.text, row.image, row.level);
        for (int column = 0; column < 4; ++column) {
            if (row.columnSet[column])
                treeList_.SetTreeItemText(item, column + 1, row.columns[column]);
        }
    }
    // Items are made one per summary row, so the row's position is the item's index.
    if (anyRecord)
        treeList_.ExpandTreeItem(static_cast<std::int32_t>(summary.lastYearRow));
}

void ViewerDialog::ShowUnreadable() {
    prompts_.ShowMessage(hwnd(), winapp::LoadText(IDS_HISTORY_UNREADABLE), winapp::LoadText(IDS_WARNING),
                         MB_OK | MB_ICONWARNING);
}

void ViewerDialog::ReportHandlerFailure() {
    prompts_.ShowMessage(hwnd(), winapp::kCommandFailed, ProgramCaption(), MB_OK | MB_ICONSTOP);
}

bool ViewerDialog::OnSysCommand(UINT id, LPARAM) {
    if ((id & 0xFFF0u) != IDM_ABOUTBOX)
        return false;
    AboutDialog about;
    about.DoModal(hwnd());
    return true;
}

bool ViewerDialog::OnPaint() {
    if (!IsIconic(hwnd()))
        return false;
    const winapp::PaintDc paint(hwnd());
    HDC dc = paint.get();
    Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    RECT client;
    GetClientRect(hwnd(), &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon_);
    return true;
}

HICON ViewerDialog::OnQueryDragIcon() {
    return icon_;
}

// The small images are the dialog's: the list view must not destroy them with itself.
bool ViewerDialog::OnDestroy(WPARAM, LPARAM, LRESULT&) {
    treeList_.SetImageList(nullptr, LVSIL_SMALL);
    return false;
}

void ViewerDialog::OnUpdate() {
    Refresh();
}

LRESULT ViewerDialog::OnTreeListRightClick(NMHDR* header) {
    const auto* clicked = reinterpret_cast<const NMTREELIST*>(header);
    for (std::size_t i = 0; i < 4; ++i) {
        clickedTexts[i] = i < clicked->texts.size() ? clicked->texts[i] : std::string();
    }
    clickedLevel = clicked->nIndent;
    clickedItem = clicked->nIndex;

    winapp::Menu menu = winapp::LoadMenuResource(clickedLevel != 0 ? IDR_MENU_ROWS : IDR_MENU_YEAR);
    HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (popup != nullptr) {
        const winapp::App* app = winapp::App::Current();
        HWND owner = app != nullptr && app->mainHwnd() != nullptr ? app->mainHwnd() : hwnd();
        const POINT at = clicked->bByKeyboard ? clicked->ptMenu : prompts_.CursorPosition();
        prompts_.TrackPopup(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at, owner);
    }
    return 0;
}

bool ViewerDialog::LoadHistory(history::HistoryStore& store) {
    if (store.LoadForReading() == history::HistoryStore::ReadResult::kLoaded)
        return true;
    ShowUnreadable();
    return false;
}

void ViewerDialog::AfterChange(bool saved, unsigned long error) {
    if (!saved) {
        prompts_.ShowMessage(hwnd(), winapp::WithErrorText(winapp::LoadText(IDS_SAVE_FAILED), error), ProgramCaption(),
                             MB_OK | MB_ICONSTOP);
    }
    Refresh(false);
    treeList_.ExpandTreeItem(clickedItem);
}

// The clicked row in the history as it is now, or -1 after telling the user that it is gone.
int ViewerDialog::FindClickedRowOrTell(const history::HistorySummary& summary) {
    const int row = FindClickedRow(summary, clickedLevel, clickedTexts, clickedItem);
    if (row < 0)
        prompts_.ShowMessage(hwnd(), winapp::LoadText(IDS_ROW_GONE), ProgramCaption(), MB_OK | MB_ICONWARNING);
    return row;
}

// Deletes the records the clicked row shows, found again in the file as it is now.
void ViewerDialog::DeleteEntry() {
    if (prompts_.ShowMessage(hwnd(), winapp::LoadText(IDS_DELETE_QUESTION), winapp::LoadText(IDS_WARNING),
                             MB_OKCANCEL | MB_ICONWARNING) != IDOK) {
        return;
    }
    if (RefusedAsWriteProtected())
        return;
    history::HistoryStore store(monitor::kHistoryFile);
    if (!LoadHistory(store))
        return;
    bool saved = true;
    // A sum row deletes nothing; the list is read anew all the same.
    if (clickedLevel != history::kLevelDay || clickedTexts[0] != kSumLabel) {
        const history::CalendarDate today = history::CalendarDate::Today();
        const history::HistorySummary summary =
            history::BuildHistorySummary(store.records, today, history::CurrentSettings().g_History_StartDayOfMonth);
        const int row = FindClickedRowOrTell(summary);
        if (row >= 0)
            saved = store.DeleteRecordsAt(RecordsOfRow(summary.rows[row], store.records, today));
    }
    store.CloseFile();
    AfterChange(saved, store.lastError());
}

// Shows the clicked day row's own totals and makes what was typed its records' new totals.
void ViewerDialog::EditEntry() {
    prompts_.ShowMessage(hwnd(), winapp::LoadText(IDS_EDIT_NOTICE), "Message", MB_OK);
    history::HistoryStore store(monitor::kHistoryFile);
    if (!LoadHistory(store))
        return;
    const history::CalendarDate today = history::CalendarDate::Today();
    const EditTarget target = EditTargetOf(clickedLevel, clickedTexts[0], today);
    // Told before the user types what could not be kept.
    if (!target.opensDialog || RefusedAsWriteProtected()) {
        store.CloseFile();
        return;
    }
    const history::HistorySummary summary =
        history::BuildHistorySummary(store.records, today, history::CurrentSettings().g_History_StartDayOfMonth);
    const int found = FindClickedRowOrTell(summary);
    if (found < 0) {
        store.CloseFile();
        Refresh(false);
        return;
    }
    const history::SummaryRow& row = summary.rows[found];
    EditDataDialog dialog(prompts_);
    dialog.uploadText = PrefillText(row.uploadBytes, row.anyUpload);
    dialog.downloadText = PrefillText(row.downloadBytes, row.anyDownload);
    // Nothing typed is nothing to write: the stored bytes stay as they are, unrounded.
    if (dialog.DoModal(hwnd()) != IDOK || (!dialog.downloadChanged && !dialog.uploadChanged)) {
        store.CloseFile();
        return;
    }
    const bool saved = store.SetTotalsAt(RecordsOfRow(row, store.records, today),
                                         dialog.downloadChanged ? &dialog.downloadBytes : nullptr,
                                         dialog.uploadChanged ? &dialog.uploadBytes : nullptr);
    store.CloseFile();
    AfterChange(saved, store.lastError());
}

// A write-protected history is the user's wish, which the viewer keeps even where the system would
// let it replace the file.
bool ViewerDialog::RefusedAsWriteProtected() {
    if (!history::RealFileSystem().IsReadOnly(monitor::kHistoryFile))
        return false;
    prompts_.ShowMessage(hwnd(), winapp::LoadText(IDS_HISTORY_READ_ONLY), ProgramCaption(), MB_OK | MB_ICONSTOP);
    return true;
}

// The default caption of the program's message boxes.
std::string ViewerDialog::ProgramCaption() const {
    const winapp::App* app = winapp::App::Current();
    return app != nullptr ? app->Title() : winapp::ProgramTitle();
}

void ViewerDialog::ExcelExport() {
    const std::string caption = ProgramCaption();
    // Without the spreadsheet application the user may have the report as a CSV file instead.
    bool csvInstead = false;
    report::ReportOutcome outcome = report::ReportOutcome::kShown;
    try {
        report::SpreadsheetSession session(
            [this, &caption, &csvInstead](const std::string& text) {
                csvInstead = prompts_.ShowMessage(hwnd(), text + winapp::LoadText(IDS_CSV_INSTEAD), caption,
                                                  MB_YESNO | MB_ICONQUESTION) == IDYES;
            },
            spreadsheetFactory_);
        outcome = report::BuildSpreadsheetReport(session, clickedLevel, clickedTexts,
                                                 history::CurrentSettings().g_History_StartDayOfMonth,
                                                 monitor::kHistoryFile, &winapp::LoadText);
    } catch (const report::AutomationError& error) {
        // The session has let go of every object by now.
        prompts_.ShowMessage(hwnd(), error.hasDescription() ? error.what() : winapp::kCommandFailed, caption,
                             MB_OK | MB_ICONSTOP);
    }
    if (outcome == report::ReportOutcome::kHistoryUnreadable)
        ShowUnreadable();
    if (csvInstead)
        CsvExport();
}

void ViewerDialog::CsvExport() {
    ExportCsv(hwnd(), prompts_, *fileChooser_, ProgramCaption(), clickedLevel, clickedTexts, clickedItem, csvFolder_);
}

void ViewerDialog::ShowChart() {
    ShowHistoryChart(hwnd(), prompts_, *fileChooser_, *allowanceStore_, ProgramCaption(), clickedLevel, clickedTexts,
                     clickedItem);
}

void ViewerDialog::RestoreBackup() {
    const std::string caption = ProgramCaption();
    if (prompts_.ShowMessage(hwnd(), winapp::LoadText(IDS_RESTORE_QUESTION), caption, MB_YESNO | MB_ICONQUESTION) !=
        IDYES) {
        return;
    }
    // Refused before the monitor is asked to quit: it would stop for nothing.
    if (RefusedAsWriteProtected())
        return;
    // Held for this command only: a monitor started afterwards must find its mark free.
    const winapp::KernelHandle mutex(CreateMutexA(nullptr, FALSE, monitor::kMutexName));
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS)
        AskMonitorToQuit();
    unsigned long error = 0;
    const bool restored =
        history::BackupPair(monitor::kHistoryFile, monitor::kHistoryBackupFile).RestoreFromBackup(&error);
    Sleep(kRestoreWaitMilliseconds);
    if (!restored) {
        prompts_.ShowMessage(hwnd(), winapp::WithErrorText(winapp::LoadText(IDS_RESTORE_FAILED), error), caption,
                             MB_OK | MB_ICONSTOP);
    }
}

// The monitor's main window carries its mark as a window property; the first top-level window
// with it is sent the exit command, and answers once it has saved and closed.
void ViewerDialog::AskMonitorToQuit() {
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (GetPropA(window, monitor::kWindowProperty) != nullptr) {
            SendMessageA(window, WM_COMMAND, monitor::kExitCommandId, 0);
            return;
        }
    }
}

}  // namespace viewer
