// The record commands on the real dialog: delete, edit and restore, checked on the file's bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <new>

#include "calendar_date.h"
#include "history_store.h"
#include "last_error.h"
#include "module_path.h"
#include "viewer_test_fixture.h"

namespace viewer {
namespace {

using history::Day;
using history::DayRecord;
using history::RecordBytes;
using testing::RecordingPrompts;

constexpr double kMB = 1048576.0;

// Drives the edit dialog while it runs modally: notes the texts it opened with, then for each step
// types the step's texts and presses its button. Before each later step (the dialog stayed open)
// it notes which field has the focus and whether its whole text is selected.
struct EditProbe {
    struct Step {
        std::string upload, download;
        int press;
    };
    static inline std::vector<Step> steps;
    static inline std::size_t next = 0;
    static inline bool seen = false;
    static inline std::string shownUpload, shownDownload;
    static inline std::vector<int> focused;
    static inline std::vector<bool> allSelected;

    static void Arm(std::vector<Step> sequence) {
        steps = std::move(sequence);
        next = 0;
        seen = false;
        shownUpload.clear();
        shownDownload.clear();
        focused.clear();
        allSelected.clear();
    }
    static void Arm(std::string upload, std::string download, int button) {
        Arm({{std::move(upload), std::move(download), button}});
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = FindWindowA(MAKEINTATOM(32770), "Daten \xe4ndern");
        if (dialog == nullptr || next >= steps.size())
            return;
        char text[64] = {};
        if (next == 0) {
            seen = true;
            GetDlgItemTextA(dialog, IDC_UPLOAD, text, sizeof text);
            shownUpload = text;
            GetDlgItemTextA(dialog, IDC_DOWNLOAD, text, sizeof text);
            shownDownload = text;
        } else {
            HWND field = GetFocus();
            focused.push_back(GetDlgCtrlID(field));
            DWORD from = 1, to = 0;
            SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
            allSelected.push_back(from == 0 && to == static_cast<DWORD>(GetWindowTextLengthA(field)));
        }
        const Step& step = steps[next++];
        SetDlgItemTextA(dialog, IDC_UPLOAD, step.upload.c_str());
        SetDlgItemTextA(dialog, IDC_DOWNLOAD, step.download.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(step.press, BN_CLICKED), 0);
    }
};

class RecordCommandsTest : public testing::ViewerFixture {
protected:
    // Right-clicks the row with the label (the `occurrence`-th of that label) and chooses the command.
    void Choose(const std::string& label, UINT command, int occurrence = 0) {
        int row = -1;
        for (int i = 0; i < RowCount() && row < 0; ++i) {
            if (Text(i) == label && occurrence-- == 0)
                row = i;
        }
        ASSERT_NE(row, -1) << label;
        RightClickRow(row);
        ASSERT_FALSE(prompts_.popups.empty());
        SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
    void Expand(const std::string& label) {
        const int row = RowWithText(label);
        ASSERT_NE(row, -1) << label;
        SelectRow(row);
        SendMessageA(List(), WM_KEYDOWN, VK_ADD, 1);
    }
    std::string History() const { return history::ReadBytes(folder_.HistoryPath()); }
    std::string Backup() const { return history::ReadBytes(folder_.BackupPath()); }
    // Runs the edit command with the dialog driven by the probe.
    void Edit(const std::string& label, int occurrence = 0) {
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, EditProbe::OnTimer);
        Choose(label, ID_EDIT_DATA, occurrence);
        KillTimer(nullptr, timer);
    }
    static void UseStartDay(int startDay) {
        history::MonitorSettings settings;
        settings.g_History_StartDayOfMonth = startDay;
        history::SetCurrentSettings(settings);
    }
};

TEST_F(RecordCommandsTest, DeletingAYearRemovesItsRecordsAndOpensTheItemAtItsIndex) {
    folder_.WriteHistory({Day(2003, 4, 1), Day(2004, 1, 1), Day(2004, 7, 2), Day(2005, 2, 3)});
    ViewerDialog& dialog = Open();
    Choose("2004", ID_DELETE);
    EXPECT_EQ(prompts_.messages.front(), "Wollen sie den gew\xe4hlten Eintrag wirklich l\xf6schen?");
    EXPECT_EQ(prompts_.captions.front(), "Warnung");
    EXPECT_EQ(prompts_.types.front(), static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING));
    EXPECT_EQ(History(), RecordBytes({Day(2003, 4, 1), Day(2005, 2, 3)}));
    // The deleted year's index now belongs to 2005, which the refill had opened already.
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2003", "2005", "Februar"}));
    EXPECT_EQ(dialog.clickedLevel, 0);
}

TEST_F(RecordCommandsTest, DeletingAMonthRemovesOnlyThatStoredMonth) {
    const std::vector<DayRecord> records = {Day(2003, 13, 5), Day(2004, 5, 1), Day(2004, 5, 20), Day(2004, 6, 1),
                                            Day(2005, 5, 1)};
    folder_.WriteHistory(records);
    Open();
    Expand("2004");
    ASSERT_EQ(Text(RowWithText("Mai"), 3), "05/2004");
    Choose("Mai", ID_DELETE);
    EXPECT_EQ(History(), RecordBytes({Day(2003, 13, 5), Day(2004, 6, 1), Day(2005, 5, 1)}));
}

TEST_F(RecordCommandsTest, DeletingADayOrASum) {
    folder_.WriteHistory({Day(2004, 5, 1), Day(2004, 5, 20), Day(2004, 5, 20), Day(2004, 6, 1)});
    Open();
    Expand("Mai");
    Choose("20.05.2004", ID_DELETE);
    EXPECT_EQ(History(), RecordBytes({Day(2004, 5, 1), Day(2004, 6, 1)}));

    // A sum row deletes nothing, but the list is refreshed all the same.
    const std::string before = History();
    Expand("Mai");
    Choose("Sum", ID_DELETE);
    EXPECT_EQ(History(), before);
    folder_.AppendHistory({Day(2004, 7, 3)});
    Expand("Mai");
    Choose("Sum", ID_DELETE);
    EXPECT_NE(RowWithText("July"), -1);  // the monitor's own spelling
}

// A delete removes exactly the records its row shows: a date that comes back later in the file
// opens a row of its own, and with a later start day a month row spans two calendar months.
TEST_F(RecordCommandsTest, DeletesRemoveExactlyTheRecordsTheRowShows) {
    const std::vector<DayRecord> repeated = {Day(2025, 3, 1, kMB, kMB), Day(2025, 3, 10), Day(2025, 4, 5),
                                             Day(2025, 3, 15),          Day(2025, 3, 15), Day(2025, 4, 20)};
    folder_.WriteHistory(repeated);
    Open();
    ASSERT_EQ(Labels(), (std::vector<std::string>{"2025", "M\xe4rz", "April", "M\xe4rz", "April"}));
    Choose("M\xe4rz", ID_DELETE, 1);
    EXPECT_EQ(History(), RecordBytes({repeated[0], repeated[1], repeated[2], repeated[5]}));

    UseStartDay(15);
    const std::vector<DayRecord> spanning = {Day(2025, 1, 3),  Day(2025, 2, 10), Day(2025, 2, 20), Day(2025, 3, 10),
                                             Day(2025, 3, 16), Day(2025, 4, 14), Day(2025, 4, 15)};
    folder_.WriteHistory(spanning);
    Open();
    ASSERT_EQ(Labels(), (std::vector<std::string>{"2025", "Januar", "Februar", "M\xe4rz", "April"}));
    // March shows 16 March and 14 April; 10 March is shown under February.
    Choose("M\xe4rz", ID_DELETE);
    EXPECT_EQ(History(), RecordBytes({spanning[0], spanning[1], spanning[2], spanning[3], spanning[6]}));
    // The year opens January on its first record: it shows 3 January and 10 February.
    Choose("Januar", ID_DELETE);
    EXPECT_EQ(History(), RecordBytes({spanning[2], spanning[3], spanning[6]}));

    // A row that the file no longer has is told, and nothing is written.
    ASSERT_NE(RowWithText("April"), -1);
    folder_.WriteHistory({spanning[2], spanning[3]});
    prompts_.messages.clear();
    Choose("April", ID_DELETE);
    ASSERT_EQ(prompts_.messages.size(), 2u);
    EXPECT_EQ(prompts_.messages[1],
              "Die gew\xe4hlte Zeile steht nicht mehr in den Verlaufsdaten (data\\volume.hst). "
              "Es wurde nichts ge\xe4ndert.");
    EXPECT_EQ(History(), RecordBytes({spanning[2], spanning[3]}));
    EXPECT_EQ(RowWithText("April"), -1);
}

TEST_F(RecordCommandsTest, StartDay31GivesEveryMonthItsRow) {
    UseStartDay(31);
    std::vector<DayRecord> records;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= history::CalendarDate::DaysInMonth(month, 2024); ++day)
            records.push_back(Day(2024, month, day));
    }
    folder_.WriteHistory(records);
    Open();
    std::vector<std::string> expected = {"2024"};
    for (int month = 0; month < 12; ++month)
        expected.push_back(history::CalendarDate::MonthNameAt(month));
    EXPECT_EQ(Labels(), expected);
    Expand("Februar");
    EXPECT_EQ(Text(RowWithText("Februar") + 1), "29.02.2024");
    EXPECT_EQ(Text(RowWithText("Februar") + 2), "01.03.2024");
}

TEST_F(RecordCommandsTest, CancelledDeleteChangesNothing) {
    folder_.WriteHistory({Day(2004, 5, 1), Day(2005, 1, 1)});
    Open();
    prompts_.answers = {IDCANCEL};
    Choose("2004", ID_DELETE);
    EXPECT_EQ(History(), RecordBytes({Day(2004, 5, 1), Day(2005, 1, 1)}));
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2004", "2005", "Januar"}));
}

TEST_F(RecordCommandsTest, TheBackupKeepsTheLargestState) {
    const std::vector<DayRecord> five = {Day(2004, 5, 1), Day(2004, 5, 2), Day(2004, 5, 3), Day(2004, 5, 4),
                                         Day(2004, 5, 5)};
    folder_.WriteHistory(five);
    Open();  // the backup catches up with the larger live file
    ASSERT_EQ(Backup(), RecordBytes(five));
    Expand("Mai");
    Choose("02.05.2004", ID_DELETE);
    Expand("Mai");
    Choose("04.05.2004", ID_DELETE);
    EXPECT_EQ(History(), RecordBytes({Day(2004, 5, 1), Day(2004, 5, 3), Day(2004, 5, 5)}));
    EXPECT_EQ(Backup(), RecordBytes(five));

    // The monitor appended while the viewer was open: the next delete saves that state first.
    folder_.AppendHistory({Day(2004, 6, 1), Day(2004, 6, 2), Day(2004, 6, 3)});
    const std::string grown = History();
    Choose("2004", ID_DELETE);
    EXPECT_EQ(Backup(), grown);
    EXPECT_EQ(History(), "");
}

TEST_F(RecordCommandsTest, EditingADayWithTwoRecordsSetsTheDaysTotals) {
    folder_.WriteHistory(
        {Day(2004, 5, 19, 7 * kMB, kMB, 100), Day(2004, 5, 20, kMB, 2 * kMB, 60), Day(2004, 5, 20, kMB, 2 * kMB, 30)});
    Open();
    Expand("Mai");
    // The day of two records is one row with their sums, and both count for the month.
    const int day = RowWithText("20.05.2004");
    ASSERT_NE(day, -1);
    EXPECT_EQ(Text(day + 1), "Sum");
    for (int row : {day, day + 1}) {
        const bool sum = row != day;
        EXPECT_EQ(Text(row, 1), sum ? "9.0 MB" : "2.0 MB");
        EXPECT_EQ(Text(row, 2), sum ? "5.0 MB" : "4.0 MB");
        EXPECT_EQ(Text(row, 3), sum ? "14.0 MB" : "6.0 MB");
        EXPECT_EQ(Text(row, 4), sum ? " 00:03:10" : " 00:01:30");
    }
    EditProbe::Arm("1.5", "3", IDOK);
    Edit("20.05.2004");
    EXPECT_EQ(prompts_.messages.front().substr(0, 15), "Um \xc4nderungen v");
    EXPECT_EQ(prompts_.captions.front(), "Message");
    EXPECT_EQ(prompts_.types.front(), static_cast<UINT>(MB_OK));
    ASSERT_TRUE(EditProbe::seen);
    EXPECT_EQ(EditProbe::shownDownload, "2.00");
    EXPECT_EQ(EditProbe::shownUpload, "4.00");
    // The first record carries the typed values, the other one none: the day shows what was typed.
    EXPECT_EQ(History(), RecordBytes({Day(2004, 5, 19, 7 * kMB, kMB, 100), Day(2004, 5, 20, 3 * kMB, 1572864, 60),
                                      Day(2004, 5, 20, 0, 0, 30)}));
    // After the refill the clicked day is marked open again, but its month is closed.
    EXPECT_EQ(RowWithText("20.05.2004"), -1);

    Expand("Mai");
    EditProbe::Arm("", "", IDCANCEL);
    Edit("20.05.2004");
    ASSERT_TRUE(EditProbe::seen);
    EXPECT_EQ(EditProbe::shownDownload, "3.00");
    EXPECT_EQ(EditProbe::shownUpload, "1.50");
}

// Edit shows the totals of the row it was chosen on and changes only that row's records; OK with
// nothing typed writes nothing, and a field left as it was keeps its stored bytes.
TEST_F(RecordCommandsTest, EditActsOnTheRowsOwnRecordsAndWritesOnlyWhatWasTyped) {
    const std::vector<DayRecord> records = {Day(2025, 3, 15, 1052 * kMB, 241 * kMB, 60), Day(2025, 3, 16),
                                            Day(2025, 3, 15, 237 * kMB + 12345.678, 153 * kMB + 0.25, 30),
                                            Day(2025, 4, 1)};
    folder_.WriteHistory(records);
    Open();
    Expand("M\xe4rz");
    const std::string before = History();
    EditProbe::Arm("153.00", "237.01", IDOK);
    Edit("15.03.2025", 1);
    ASSERT_TRUE(EditProbe::seen);
    EXPECT_EQ(EditProbe::shownDownload, "237.01");
    EXPECT_EQ(EditProbe::shownUpload, "153.00");
    EXPECT_TRUE(History() == before) << "OK without a change wrote the file";

    Expand("M\xe4rz");
    EditProbe::Arm("153.00", "5", IDOK);
    Edit("15.03.2025", 1);
    EXPECT_EQ(History(),
              RecordBytes({records[0], records[1], Day(2025, 3, 15, 5 * kMB, 153 * kMB + 0.25, 30), records[3]}));
}

TEST_F(RecordCommandsTest, AHistoryWithImpossibleVolumesIsToldOnceAndLeftOutOfTheSums) {
    const std::vector<DayRecord> records = {Day(2025, 3, 1, kMB, kMB, 60), Day(2025, 3, 2, std::nan(""), kMB, 60),
                                            Day(2025, 3, 3, kMB, kMB, 86400), Day(2025, 3, 4, -kMB, 1e300, 0)};
    folder_.WriteHistory(records);
    Open();
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0],
              "Die Verlaufsdaten enthalten unm\xf6gliche Volumen (keine Zahl, negativ oder mehr als 1030000000 MB). "
              "Betroffene Tage: 2, der erste am 02.03.2025.\nDiese Tage zeigen die Werte, wie sie gespeichert sind; "
              "in keiner Summe werden sie mitgez\xe4hlt.");
    EXPECT_EQ(prompts_.types[0], static_cast<UINT>(MB_OK | MB_ICONWARNING));
    Expand("M\xe4rz");
    EXPECT_EQ(Text(RowWithText("02.03.2025"), 1), "nan KB");  // as stored
    const int sum = RowWithText("Sum");
    ASSERT_NE(sum, -1);
    EXPECT_EQ(Text(sum, 1), "2.0 MB");
    EXPECT_EQ(Text(sum, 2), "3.0 MB");
    EXPECT_EQ(Text(sum, 4), " 24:02:00");
    // A command's refill does not tell again; Update reads anew and does.
    Choose("01.03.2025", ID_DELETE);
    EXPECT_EQ(prompts_.messages.size(), 2u);  // the question
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_UPDATE, BN_CLICKED), 0);
    ASSERT_EQ(prompts_.messages.size(), 3u);
    EXPECT_EQ(prompts_.messages[2], prompts_.messages[0]);
    EXPECT_EQ(History(), RecordBytes({records[1], records[2], records[3]}));  // nothing else written

    UseLanguage(testing::Language::English);
    prompts_.messages.clear();
    Open();
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0].substr(0, 50), "The historical data holds impossible volumes (not ");
    EXPECT_NE(prompts_.messages[0].find("Days affected: 2, the first on 03/02/2025."), std::string::npos);
}

TEST_F(RecordCommandsTest, TypedTextThatIsNoNumberIsRefusedAndTheDialogStays) {
    const std::vector<DayRecord> records = {Day(2004, 5, 20, kMB, 2 * kMB, 60), Day(2004, 5, 21, 5, 6, 7)};
    folder_.WriteHistory(records);
    Open();
    Expand("Mai");
    EditProbe::Arm("9", "9", IDCANCEL);
    Edit("20.05.2004");
    ASSERT_TRUE(EditProbe::seen);
    EXPECT_EQ(History(), RecordBytes(records));

    prompts_.messages.clear();
    prompts_.types.clear();
    EditProbe::Arm(
        {{"abc", "1", IDOK}, {" 2,5 ", "-1", IDOK}, {"99999999999999999999", "1", IDOK}, {"2,5", " 0.25", IDOK}});
    Edit("20.05.2004");
    ASSERT_EQ(EditProbe::next, 4u);
    // Each refusal is told, and the field at fault is selected for typing anew.
    ASSERT_EQ(prompts_.messages.size(), 4u);  // the notice, then one per refusal
    EXPECT_EQ(prompts_.messages[1], "Bitte geben Sie eine Zahl ab 0 ein, zum Beispiel 2,5.");
    EXPECT_EQ(prompts_.types[1], static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_NE(prompts_.messages[3].find("1030000000 MB"), std::string::npos) << prompts_.messages[3];
    EXPECT_EQ(prompts_.types[3], static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(EditProbe::focused, (std::vector<int>{IDC_UPLOAD, IDC_DOWNLOAD, IDC_UPLOAD}));
    EXPECT_EQ(EditProbe::allSelected, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(History(), RecordBytes({Day(2004, 5, 20, 0.25 * kMB, 2.5 * kMB, 60), Day(2004, 5, 21, 5, 6, 7)}));
}

TEST_F(RecordCommandsTest, TodayAndSumRowsShowOnlyTheNotice) {
    const history::CalendarDate today = history::CalendarDate::Today();
    const std::vector<DayRecord> records = {Day(today.year, today.month, today.day, kMB, kMB, 5)};
    folder_.WriteHistory(records);
    Open();
    const std::string todayText = today.ToText();
    Expand(history::CalendarDate::MonthNameAt(today.month - 1));
    for (const std::string& label : {todayText, std::string("Sum")}) {
        prompts_.messages.clear();
        EditProbe::Arm("1", "1", IDOK);
        Edit(label);
        EXPECT_EQ(prompts_.messages.size(), 1u) << label;
        EXPECT_FALSE(EditProbe::seen) << label;
        EXPECT_EQ(History(), RecordBytes(records)) << label;
    }
}

TEST_F(RecordCommandsTest, AnUnreadableHistoryIsLeftAloneWithAMessage) {
    folder_.WriteHistory({Day(2004, 5, 20), Day(2005, 1, 1)});
    Open();
    Expand("2004");
    ASSERT_NE(RowWithText("Mai"), -1);
    // The folder goes away while the viewer is open: nothing can be read or made any more.
    const std::string moved = folder_.path() + "\\elsewhere";
    std::filesystem::rename(folder_.path() + "\\data", moved);
    Choose("2004", ID_DELETE);
    ASSERT_EQ(prompts_.messages.size(), 2u);
    EXPECT_EQ(prompts_.messages[1].substr(0, 18), "Die Verlaufsdaten ");
    EXPECT_EQ(prompts_.captions[1], "Warnung");
    Choose("Mai", ID_EDIT_DATA);
    EXPECT_EQ(prompts_.messages.size(), 4u);
    EXPECT_FALSE(std::filesystem::exists(folder_.HistoryPath()));
    EXPECT_EQ(history::ReadBytes(moved + "\\volume.hst"), RecordBytes({Day(2004, 5, 20), Day(2005, 1, 1)}));
}

TEST_F(RecordCommandsTest, AChangeThatCannotBeSavedIsToldAndNothingChanges) {
    const std::vector<DayRecord> records = {Day(2004, 5, 20, kMB, kMB, 60), Day(2004, 5, 21), Day(2005, 1, 1)};
    folder_.WriteHistory(records);
    // A folder stands where the new content would be written.
    ASSERT_TRUE(CreateDirectoryA((folder_.HistoryPath() + ".new").c_str(), nullptr));
    Open();
    Expand("2004");
    Expand("Mai");
    Choose("21.05.2004", ID_DELETE);
    ASSERT_EQ(prompts_.messages.size(), 2u);
    // The cause as the system words it, not a guess.
    EXPECT_EQ(prompts_.messages[1],
              "Die \xc4nderung konnte nicht in data\\volume.hst gespeichert werden. Es wurde nichts ge\xe4ndert.\n\n" +
                  winapp::ErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(prompts_.types[1], static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(History(), RecordBytes(records));
    // The list is read anew from the unchanged file.
    Expand("2004");
    Expand("Mai");
    EXPECT_NE(RowWithText("21.05.2004"), -1);

    EditProbe::Arm("5", "5", IDOK);
    Edit("20.05.2004");
    ASSERT_TRUE(EditProbe::seen);
    ASSERT_EQ(prompts_.messages.size(), 4u);
    EXPECT_EQ(prompts_.types[3], static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(History(), RecordBytes(records));
}

TEST_F(RecordCommandsTest, AHistoryHeldOpenForReadingIsShownAndAChangeIsRefusedAloud) {
    const std::vector<DayRecord> records = {Day(2004, 5, 20), Day(2004, 5, 21), Day(2005, 1, 1)};
    folder_.WriteHistory(records);
    // Another program reads the file and lets others read it, but not write it.
    const HANDLE held = CreateFileA(folder_.HistoryPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Open();
    EXPECT_TRUE(prompts_.messages.empty());
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2004", "2005", "Januar"}));
    Choose("2004", ID_DELETE);
    CloseHandle(held);
    ASSERT_EQ(prompts_.messages.size(), 2u);
    EXPECT_EQ(prompts_.types[1], static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(History(), RecordBytes(records));
    // Read anew, with the clicked year opened again.
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2004", "Mai", "2005", "Januar"}));
}

TEST_F(RecordCommandsTest, DaysStoredAsMonth13AreChangedWhereTheyAreShown) {
    // The monitor stores the first days of a year as month 13 of the year before.
    const std::vector<DayRecord> records = {Day(2022, 12, 31, kMB, kMB, 60), Day(2022, 13, 1, kMB, kMB, 60),
                                            Day(2022, 13, 2, kMB, kMB, 60), Day(2022, 13, 2, kMB, kMB, 30),
                                            Day(2023, 1, 4, kMB, kMB, 60)};
    const auto check = [&](const std::function<void()>& command, const std::vector<DayRecord>& expected) {
        folder_.WriteHistory(records);
        Open();
        command();
        EXPECT_EQ(History(), RecordBytes(expected));
    };
    check([&] { Choose("2022", ID_DELETE); }, {records[1], records[2], records[3], records[4]});
    check([&] { Choose("2023", ID_DELETE); }, {records[0]});
    check([&] { Choose("Januar", ID_DELETE); }, {records[0]});
    check(
        [&] {
            Expand("Januar");
            Choose("02.01.2023", ID_DELETE);
        },
        {records[0], records[1], records[4]});
    check(
        [&] {
            Expand("Januar");
            EditProbe::Arm("1", "4", IDOK);
            Edit("02.01.2023");
            EXPECT_EQ(EditProbe::shownDownload, "2.00");
        },
        {records[0], records[1], Day(2022, 13, 2, 4 * kMB, kMB, 60), Day(2022, 13, 2, 0, 0, 30), records[4]});
}

TEST_F(RecordCommandsTest, AHistoryThatCannotBeReadIsToldAtStart) {
    // A folder where the file should be, and a file too large to be a history, are no empty history.
    ASSERT_TRUE(CreateDirectoryA(folder_.HistoryPath().c_str(), nullptr));
    Open();
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0].substr(0, 18), "Die Verlaufsdaten ");
    EXPECT_EQ(RowCount(), 0);
    dialog_.reset();
    RemoveDirectoryA(folder_.HistoryPath().c_str());

    // 300 MB beside a good backup: the message is true, the backup is not overwritten by it.
    prompts_.messages.clear();
    const std::string good = RecordBytes({Day(2004, 5, 1), Day(2004, 5, 2)});
    std::ofstream(folder_.BackupPath(), std::ios::binary) << good;
    const HANDLE file = CreateFileA(folder_.HistoryPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size{};
    size.QuadPart = 300LL * 1048576;
    ASSERT_GT(static_cast<std::size_t>(size.QuadPart) / history::kDayRecordSize, history::HistoryStore::kMaxRecords);
    ASSERT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
    Open();
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0],
              "Die Verlaufsdaten (data\\volume.hst) konnten weder gelesen noch angelegt werden.\nEs wurde nichts "
              "ge\xe4ndert.");
    EXPECT_TRUE(Backup() == good) << "the backup is not the good one any more";  // not printed: 300 MB
    EXPECT_EQ(testing::FileSize(folder_.HistoryPath()), static_cast<std::uint64_t>(size.QuadPart));
}

// The read-only attribute is the user's protection: no command replaces the file, each says why.
TEST_F(RecordCommandsTest, AWriteProtectedHistoryIsNeitherDeletedNorEditedNorRestored) {
    const std::vector<DayRecord> records = {Day(2004, 5, 20, kMB, kMB, 60), Day(2005, 1, 1)};
    folder_.WriteHistory(records);
    std::ofstream(folder_.BackupPath(), std::ios::binary) << RecordBytes({Day(2003, 1, 1)});
    ASSERT_TRUE(SetFileAttributesA(folder_.HistoryPath().c_str(), FILE_ATTRIBUTE_READONLY));
    Open();
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2004", "2005", "Januar"}));  // read all the same
    const std::string refusal =
        "Die Verlaufsdaten (data\\volume.hst) sind schreibgesch\xfctzt. Heben Sie den Schreibschutz auf, um sie zu "
        "\xe4ndern. Es wurde nichts ge\xe4ndert.";
    Choose("2004", ID_DELETE);
    Expand("2004");
    Expand("Mai");
    EditProbe::Arm("5", "5", IDOK);
    Edit("20.05.2004");
    EXPECT_FALSE(EditProbe::seen);
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_RESTORE, BN_CLICKED), 0);
    // Question, refusal; notice, refusal; question, refusal.
    ASSERT_EQ(prompts_.messages.size(), 6u);
    for (std::size_t i : {1u, 3u, 5u}) {
        EXPECT_EQ(prompts_.messages[i], refusal) << i;
        EXPECT_EQ(prompts_.types[i], static_cast<UINT>(MB_OK | MB_ICONSTOP)) << i;
    }
    EXPECT_EQ(History(), RecordBytes(records));
    const DWORD attributes = GetFileAttributesA(folder_.HistoryPath().c_str());
    EXPECT_NE(attributes & FILE_ATTRIBUTE_READONLY, 0u);
    SetFileAttributesA(folder_.HistoryPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RecordCommandsTest, AnExceptionInACommandIsToldAndTheViewerGoesOn) {
    folder_.WriteHistory({Day(2004, 5, 20), Day(2005, 1, 1)});
    Open();
    dialog_->setSpreadsheetFactory([]() -> IDispatch* { throw std::bad_alloc(); });
    Expand("2004");
    Choose("Mai", ID_EXCEL_EXPORT);
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0], "Command failed.");
    EXPECT_EQ(prompts_.types[0], static_cast<UINT>(MB_OK | MB_ICONSTOP));
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_UPDATE, BN_CLICKED), 0);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2004", "2005", "Januar"}));
}

class RestoreBackupTest : public RecordCommandsTest {
protected:
    void SetUp() override {
        RecordCommandsTest::SetUp();
        live_ = {Day(2004, 5, 1)};
        backup_ = {Day(2004, 5, 1), Day(2004, 5, 2), Day(2004, 5, 3)};
        folder_.WriteHistory(live_);
        std::ofstream(folder_.BackupPath(), std::ios::binary) << RecordBytes(backup_);
    }

    std::vector<DayRecord> live_, backup_;
};

TEST_F(RestoreBackupTest, NoAnswerNoCopy) {
    Open();
    prompts_.answers = {IDNO};
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_RESTORE, BN_CLICKED), 0);
    EXPECT_EQ(prompts_.types.front(), static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(prompts_.messages.front().substr(0, 22), "Sollen nun die letzt g");
    EXPECT_EQ(History(), RecordBytes(live_));
}

TEST_F(RestoreBackupTest, WithoutMonitorTheBackupIsCopiedAtOnceAndTheListStays) {
    Open();
    const DWORD start = GetTickCount();
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_RESTORE, BN_CLICKED), 0);
    EXPECT_GE(GetTickCount() - start, ViewerDialog::kRestoreWaitMilliseconds - 20);
    EXPECT_EQ(History(), RecordBytes(backup_));
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2004", "Mai"}));  // shown after the next update only
    EXPECT_EQ(prompts_.captions.front(), "viewer_ui_test");
}

TEST_F(RestoreBackupTest, AFailedCopyIsToldWithItsCauseAndTheMonitorsMarkIsLetGo) {
    Open();
    DeleteFileA(folder_.BackupPath().c_str());
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_RESTORE, BN_CLICKED), 0);
    ASSERT_EQ(prompts_.messages.size(), 2u);
    EXPECT_EQ(prompts_.messages[1],
              winapp::LoadText(IDS_RESTORE_FAILED) + "\n\n" + winapp::ErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(prompts_.types[1], static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(History(), RecordBytes(live_));
    // A monitor starting now finds no mark of a running monitor left behind by the viewer.
    const HANDLE mark = CreateMutexA(nullptr, FALSE, "LumetraPro");
    ASSERT_NE(mark, nullptr);
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(mark);
}

TEST_F(RestoreBackupTest, ARunningMonitorQuitsAndSavesBeforeTheCopy) {
    // The stand-in lies beside this test program.
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string standIn = history::FolderOfPath(self) + "standin_monitor.exe";
    const std::string log = folder_.path() + "\\monitor.log";
    std::string command = "\"" + standIn + "\" \"" + folder_.HistoryPath() + "\" \"" + log + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    ASSERT_TRUE(testing::PumpUntil([] { return FindWindowA("LumetraProStandIn", nullptr) != nullptr; }, 20000));

    Open();
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_RESTORE, BN_CLICKED), 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // It saved on its way out, and the copy came after: the backup's content is what remains.
    EXPECT_EQ(history::ReadBytes(log), "running\nexit command\nsaved\nended\n");
    EXPECT_EQ(History(), RecordBytes(backup_));
}

}  // namespace
}  // namespace viewer
