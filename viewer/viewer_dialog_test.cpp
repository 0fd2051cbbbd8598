// The viewer dialog on real windows: filling, updating, the context menus, the system menu and the
// About box, in both languages.
#include "viewer_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "viewer_test_fixture.h"

namespace viewer {
namespace {

using history::Day;
using testing::Click;
using testing::InstallFolder;
using testing::PumpPending;
using testing::PumpUntil;
using testing::RecordingPrompts;

using testing::Language;
using ViewerDialogTest = testing::ViewerFixture;

// Finds the About box while it runs modally, notes its title and version line, and closes it.
struct AboutProbe {
    static inline std::string title;
    static inline std::string version;

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        HWND about = FindWindowA(MAKEINTATOM(32770), "Lumetra Up/Downloads");
        if (about == nullptr)
            return;
        char text[64] = {};
        GetWindowTextA(about, text, sizeof text);
        title = text;
        EnumChildWindows(about, OnChild, 0);
        PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    static BOOL CALLBACK OnChild(HWND child, LPARAM) {
        char text[64] = {};
        GetWindowTextA(child, text, sizeof text);
        if (std::string(text).rfind("Version", 0) == 0)
            version = text;
        return TRUE;
    }
};

const std::vector<history::DayRecord> kTwoYears = {Day(2023, 11, 30), Day(2023, 12, 31), Day(2024, 1, 2),
                                                   Day(2024, 2, 5, 1048576, 2 * 1048576, 3600)};

TEST_F(ViewerDialogTest, OpensWithTwoYearsAndTheLaterOneExpanded) {
    folder_.WriteHistory(kTwoYears);
    Open();
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2023", "2024", "Januar", "Februar"}));
    EXPECT_EQ(Text(3, 3), "02/2024");
    // The program's folder became the working directory, so the backup was made beside the history.
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    EXPECT_EQ(std::string(cwd) + "\\", folder_.path() + "\\");
    EXPECT_EQ(testing::FileSize(folder_.BackupPath()), 4u * history::kDayRecordSize);
    EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(ViewerDialogTest, ColumnsStandInDisplayOrderWithTheirWidths) {
    Open();
    const char* german[] = {"Zeitraum", "Download", "Upload", "Up&Download", "Onlinezeit"};
    const int widths[] = {130, 80, 80, 80, 80};
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(ColumnCaption(column), german[column]);
        EXPECT_EQ(ListView_GetColumnWidth(List(), column), widths[column]);
    }
    LVCOLUMNA info{};
    info.mask = LVCF_FMT;
    SendMessageA(List(), LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
}

// At any DPI (the screen's: 96 in the usual run, 144 in the high-DPI one) the tree's images and
// expand boxes are made for it and, with everything expanded, every label shows whole: each
// column is at least as wide as the list view itself finds its contents need; above 96 DPI every
// caption shows whole too.
TEST_F(ViewerDialogTest, AtTheScreensDpiImagesCaptionsAndLabelsAreWhole) {
    UseLanguage(Language::English);
    folder_.WriteHistory({Day(2023, 9, 28, 5e9, 1e9, 3600), Day(2023, 11, 30, 2e9, 1e9, 7200),
                          Day(2024, 9, 29, 1048576, 2 * 1048576, 59), Day(2024, 11, 27, 3e11, 2e11, 86399)});
    ViewerDialog& dialog = Open();
    const UINT dpi = testing::TestDpi();
    EXPECT_EQ(dialog.dpi(), dpi);
    const int size = winapp::SmallIconSizeFor(dpi);
    if (dpi == 144) {
        EXPECT_EQ(size, 24);
    }
    for (int which : {LVSIL_SMALL, LVSIL_STATE}) {
        int cx = 0, cy = 0;
        ASSERT_TRUE(ImageList_GetIconSize(ListView_GetImageList(List(), which), &cx, &cy)) << which;
        EXPECT_EQ(cx, size) << which;
        EXPECT_EQ(cy, size) << which;
    }
    // Everything open: '*' on each year (the later one, open already, closed first).
    for (const char* year : {"2023", "2024"}) {
        SelectRow(RowWithText(year));
        SendMessageA(List(), WM_KEYDOWN, VK_SUBTRACT, 1);
        SendMessageA(List(), WM_CHAR, '*', 1);
    }
    ASSERT_NE(RowWithText("September"), -1);
    ASSERT_NE(RowWithText("11/27/2024"), -1);

    HWND header = ListView_GetHeader(List());
    HDC dc = GetDC(header);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(header, WM_GETFONT, 0, 0)));
    const int margins = 2 * 3 * GetSystemMetrics(SM_CXEDGE);  // the header's text margins
    for (int column = 0; column < 5; ++column) {
        SCOPED_TRACE("column " + std::to_string(column));
        const int width = ListView_GetColumnWidth(List(), column);
        EXPECT_GE(width, winapp::Scaled(column == 0 ? 130 : 80, dpi));
        std::string caption = ColumnCaption(column);
        caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());  // a mnemonic mark
        SIZE text{};
        GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
        // (at 96 DPI the value columns keep the widths they always had)
        if (column == 0 || dpi > 96) {
            EXPECT_GE(width, text.cx + margins) << caption << " cut short";
        }
        // What the rows need, as the list view measures it (the first column's labels, at their
        // indents, are checked row by row below).
        if (column > 0) {
            ListView_SetColumnWidth(List(), column, LVSCW_AUTOSIZE);
            EXPECT_GE(width, ListView_GetColumnWidth(List(), column)) << "a text cut short";
            ListView_SetColumnWidth(List(), column, width);
        }
    }
    SelectObject(dc, old);
    ReleaseDC(header, dc);
    // Every label with room to spare in its row, at its level's indent (the list view draws it a
    // few pixels in from both ends of that room, and cuts it with "..." where it does not fit).
    for (int row = 0; row < RowCount(); ++row) {
        RECT label{};
        label.left = LVIR_LABEL;
        SendMessageA(List(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
        const std::string text = Text(row);
        const int width =
            static_cast<int>(SendMessageA(List(), LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str())));
        EXPECT_GE(label.right - label.left, width + winapp::Scaled(12, dpi)) << text << " cut short";
    }

    // The click toggles on the box, one scaled indent step in for a month.
    const int month = RowWithText("September");
    RECT label{};
    label.left = LVIR_LABEL;
    SendMessageA(List(), LVM_GETITEMRECT, static_cast<WPARAM>(month), reinterpret_cast<LPARAM>(&label));
    const int rows = RowCount();
    Click(List(), size - 2, (label.top + label.bottom) / 2);
    EXPECT_EQ(RowCount(), rows) << "a click in the indentation toggled";
    Click(List(), size + size / 2, (label.top + label.bottom) / 2);
    EXPECT_LT(RowCount(), rows) << "a click on the box did not collapse the month";
}

// Moved to a monitor of half as large a DPI again (or its scaling changed so): the dialog takes
// the place the system suggests, and its tree the images, boxes and column widths of that DPI.
TEST_F(ViewerDialogTest, ADpiChangeTakesTheSuggestedPlaceAndRemakesImagesAndColumns) {
    folder_.WriteHistory(kTwoYears);
    ViewerDialog& dialog = Open();
    const UINT dpi = testing::TestDpi();
    const UINT target = dpi * 3 / 2;
    RECT before{};
    GetWindowRect(dialog.hwnd(), &before);
    RECT suggested{10, 20, 10 + (before.right - before.left) * 3 / 2, 20 + (before.bottom - before.top) * 3 / 2};
    SendMessageA(dialog.hwnd(), winapp::kDpiChangedMessage, MAKEWPARAM(target, target),
                 reinterpret_cast<LPARAM>(&suggested));
    PumpPending();
    EXPECT_EQ(dialog.dpi(), target);
    RECT after{};
    GetWindowRect(dialog.hwnd(), &after);
    EXPECT_EQ(after.left, suggested.left);
    EXPECT_EQ(after.top, suggested.top);
    EXPECT_EQ(after.right, suggested.right);
    EXPECT_EQ(after.bottom, suggested.bottom);
    const int size = winapp::SmallIconSizeFor(target);
    EXPECT_GT(size, winapp::SmallIconSizeFor(dpi));
    for (int which : {LVSIL_SMALL, LVSIL_STATE}) {
        int cx = 0, cy = 0;
        ASSERT_TRUE(ImageList_GetIconSize(ListView_GetImageList(List(), which), &cx, &cy)) << which;
        EXPECT_EQ(cx, size) << which;
    }
    EXPECT_GE(ListView_GetColumnWidth(List(), 0), winapp::Scaled(130, target));
    for (int column = 1; column < 5; ++column)
        EXPECT_GE(ListView_GetColumnWidth(List(), column), winapp::Scaled(80, target)) << column;
    // The labels are still where the rows show them: a click in the indentation toggles nothing.
    const int month = RowWithText("Januar");
    ASSERT_NE(month, -1);
    RECT label{};
    label.left = LVIR_LABEL;
    SendMessageA(List(), LVM_GETITEMRECT, static_cast<WPARAM>(month), reinterpret_cast<LPARAM>(&label));
    const int rows = RowCount();
    Click(List(), size - 2, (label.top + label.bottom) / 2);
    EXPECT_EQ(RowCount(), rows);
    Click(List(), size + size / 2, (label.top + label.bottom) / 2);
    EXPECT_GT(RowCount(), rows) << "a click on the box did not open the month";
}

TEST_F(ViewerDialogTest, EnglishShowsEnglishCaptionsAndSlashedDays) {
    UseLanguage(Language::English);
    folder_.WriteHistory(kTwoYears);
    Open();
    EXPECT_EQ(ColumnCaption(0), "Date");
    EXPECT_EQ(ColumnCaption(4), "Onlinetime");
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2023", "2024", "January", "February"}));
    char text[64] = {};
    GetDlgItemTextA(dialog_->hwnd(), IDOK, text, sizeof text);
    EXPECT_STREQ(text, "Close");
    GetDlgItemTextA(dialog_->hwnd(), IDC_RESTORE, text, sizeof text);
    EXPECT_STREQ(text, "Restore Backup");

    SelectRow(RowWithText("February"));
    SendMessageA(List(), WM_KEYDOWN, VK_ADD, 1);
    EXPECT_NE(RowWithText("02/05/2024"), -1);
}

TEST_F(ViewerDialogTest, GermanShowsUmlautsAndDottedDays) {
    folder_.WriteHistory({Day(2024, 3, 3)});
    Open();
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2024", "M\xe4rz"}));
    char text[64] = {};
    GetDlgItemTextA(dialog_->hwnd(), IDC_RESTORE, text, sizeof text);
    EXPECT_STREQ(text, "Backup lesen");
    SelectRow(1);
    SendMessageA(List(), WM_KEYDOWN, VK_ADD, 1);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2024", "M\xe4rz", "03.03.2024", "Sum"}));
    EXPECT_EQ(winapp::LoadText(IDS_EDIT_NOTICE).substr(0, 13), "Um \xc4nderungen");
}

TEST_F(ViewerDialogTest, UpdateShowsWhatTheMonitorAppendedAndRefreshesTheBackup) {
    folder_.WriteHistory(kTwoYears);
    Open();
    folder_.AppendHistory({Day(2025, 1, 10)});
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_UPDATE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog_->hwnd(), IDC_UPDATE)));
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2023", "2024", "2025", "Januar"}));
    EXPECT_EQ(testing::FileSize(folder_.BackupPath()), 5u * history::kDayRecordSize);
}

TEST_F(ViewerDialogTest, ContextMenuFollowsTheRowLevel) {
    folder_.WriteHistory(kTwoYears);
    ViewerDialog& dialog = Open();
    RightClickRow(RowWithText("2024"));
    ASSERT_EQ(prompts_.popups.size(), 1u);
    EXPECT_EQ(prompts_.popups[0], (std::vector<UINT>{ID_DELETE, 0, ID_CHART, ID_CSV_EXPORT}));
    EXPECT_EQ(prompts_.firstItemTexts[0], "L\xf6schen");
    EXPECT_EQ(prompts_.owners[0], dialog.hwnd());
    EXPECT_EQ(dialog.clickedLevel, 0);
    EXPECT_EQ(dialog.clickedTexts[0], "2024");

    RightClickRow(RowWithText("Februar"));
    ASSERT_EQ(prompts_.popups.size(), 2u);
    EXPECT_EQ(prompts_.popups[1],
              (std::vector<UINT>{ID_EDIT_DATA, ID_DELETE, 0, ID_EXCEL_EXPORT, ID_CSV_EXPORT, 0, ID_CHART}));
    EXPECT_EQ(prompts_.firstItemTexts[1], "Daten \xc4ndern");
    EXPECT_EQ(dialog.clickedLevel, 1);
    EXPECT_EQ(dialog.clickedTexts[0], "Februar");
    EXPECT_EQ(dialog.clickedTexts[3], "02/2024");
    EXPECT_EQ(dialog.clickedItem, static_cast<int>(dialog.treeList().items().size()) - 3);  // day, sum follow

    Click(List(), 16 + 8, (RowCount() + 3) * 20);  // below the rows: no menu
    EXPECT_EQ(prompts_.popups.size(), 2u);
}

TEST_F(ViewerDialogTest, SystemMenuEndsWithAboutWhichOpensTheAboutBox) {
    Open();
    HMENU system = GetSystemMenu(dialog_->hwnd(), FALSE);
    const int count = GetMenuItemCount(system);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(system, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    char text[32] = {};
    GetMenuStringA(system, count - 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&About");
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(system, count - 2, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);

    // While the About box runs modally, a timer reads it and closes it.
    AboutProbe::title.clear();
    AboutProbe::version.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, AboutProbe::OnTimer);
    SendMessageA(dialog_->hwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);  // the low four bits do not count
    KillTimer(nullptr, timer);
    EXPECT_EQ(AboutProbe::title, "Lumetra Up/Downloads");
    EXPECT_EQ(AboutProbe::version, "Version 1.2");
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog_->hwnd(), WM_QUERYDRAGICON, 0, 0)),
              winapp::LoadIconResource(IDR_MAINFRAME));
}

// Damaged dates are shown as stored without a word; only impossible volumes are told.
TEST_F(ViewerDialogTest, MissingOrDamagedHistoriesGiveNoMessage) {
    Open();  // no history file at all
    EXPECT_EQ(RowCount(), 0);
    dialog_.reset();

    std::vector<history::DayRecord> damaged = {Day(2020, 0, 5),
                                               Day(2020, 13, 1),
                                               Day(2020, 77, 9),
                                               Day(1850, 5, 5),
                                               Day(2021, 2, 30, 1, 1, -50),
                                               Day(2021, 3, 99),
                                               Day(-4, -4, -4, -1e300, 1e300)};
    folder_.WriteHistory(damaged);
    Open();
    EXPECT_GT(RowCount(), 0);
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_NE(prompts_.messages[0].find("Betroffene Tage: 1, der erste am -4.-4.-4."), std::string::npos)
        << prompts_.messages[0];
    std::string truncated = history::RecordBytes({Day(2022, 6, 1)}) + "xyz";
    std::ofstream(folder_.HistoryPath(), std::ios::binary | std::ios::trunc) << truncated;
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_UPDATE, BN_CLICKED), 0);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2022", "Juni"}));
    EXPECT_EQ(prompts_.messages.size(), 1u);
}

TEST_F(ViewerDialogTest, AProgramPathWithoutFolderKeepsTheWorkingDirectory) {
    SetCurrentDirectoryA(folder_.path().c_str());
    folder_.WriteHistory(kTwoYears);
    dialog_ = std::make_unique<ViewerDialog>("histview.exe", prompts_);
    ASSERT_TRUE(dialog_->Create());
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    EXPECT_EQ(std::string(cwd), folder_.path());
    EXPECT_EQ(RowCount(), 4);
}

TEST_F(ViewerDialogTest, CloseButtonEndsTheDialog) {
    Open();
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(dialog_->ended());
    EXPECT_EQ(dialog_->result(), IDOK);
}

}  // namespace
}  // namespace viewer
