// "Excel Export" from the viewer's context menu: with a stand-in spreadsheet application registered
// as "Excel.Application" the sheet equals what histdump --report writes for the same row; without
// one, the user is asked whether to save the row's CSV file instead, which then holds what
// histdump --csv writes; a refused call is shown with its description.
#include <objbase.h>

#include <dlgs.h>
#include <gtest/gtest.h>

#include <fstream>

#include "fake_automation.h"
#include "last_error.h"
#include "modal_test_support.h"
#include "module_path.h"
#include "viewer_test_fixture.h"

namespace viewer {
namespace {

using history::Day;

const char kClassId[] = "{6A1F0C2E-3B7D-4E59-9C61-2D4F8B0A7E13}";

std::string Beside(const std::string& name) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    return history::FolderOfPath(self) + name;
}

void SetDefault(const std::string& key, const std::string& name, const std::string& value) {
    HKEY opened = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(opened, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(opened);
}

// Runs histdump.exe of this build and gives its output.
std::string HistdumpReport(const std::string& arguments, const std::string& historyPath) {
    const std::string output = historyPath + ".report";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(output.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::string command =
        "\"" + Beside("..\\tools\\histdump\\histdump.exe") + "\" " + arguments + " \"" + historyPath + "\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(file);
        return "histdump did not start";
    }
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(file);
    const std::string text = history::ReadBytes(output);
    DeleteFileA(output.c_str());
    return text;
}

class ExcelExportTest : public testing::ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        OleInitialize(nullptr);
        sheetFile_ = folder_.path() + "\\sheet.txt";
        SetEnvironmentVariableA("LUMETRA_STANDIN_SHEET", sheetFile_.c_str());
    }
    void TearDown() override {
        Unregister();
        SetEnvironmentVariableA("LUMETRA_STANDIN_SHEET", nullptr);
        ViewerFixture::TearDown();
        OleUninitialize();
    }

    void Register() {
        SetDefault("Excel.Application\\CLSID", "", kClassId);
        SetDefault(std::string("CLSID\\") + kClassId + "\\InprocServer32", "", Beside("standin_excel.dll"));
        SetDefault(std::string("CLSID\\") + kClassId + "\\InprocServer32", "ThreadingModel", "Apartment");
    }
    static void Unregister() {
        const std::string classKey = std::string("CLSID\\") + kClassId;
        for (const std::string& key : {classKey + "\\InprocServer32", classKey, std::string("Excel.Application\\CLSID"),
                                       std::string("Excel.Application")}) {
            RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
        }
    }

    void Export(const std::string& label) {
        const int row = RowWithText(label);
        ASSERT_NE(row, -1) << label;
        RightClickRow(row);
        SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(ID_EXCEL_EXPORT, 0), 0);
    }

    void Expand(const std::string& label) {
        const int row = RowWithText(label);
        ASSERT_NE(row, -1) << label;
        SelectRow(row);
        SendMessageA(List(), WM_KEYDOWN, VK_ADD, 1);
    }

    std::string sheetFile_;
};

const std::vector<history::DayRecord> kMay = {Day(2004, 4, 30, 5e5, 5e4, 10), Day(2004, 5, 2, 1e6, 2e6, 61),
                                              Day(2004, 5, 2, 3e6, 1e5, 86400), Day(2004, 5, 31, 7e6, 3e5, 90000),
                                              Day(2004, 6, 1, 1e6, 1e6, 5)};

TEST_F(ExcelExportTest, AMonthRowFillsTheStandInAsHistdumpWritesIt) {
    Register();
    folder_.WriteHistory(kMay);
    Open();
    SelectRow(RowWithText("2004"));
    Export("Mai");
    EXPECT_TRUE(prompts_.messages.empty());
    const std::string sheet = history::ReadBytes(sheetFile_);
    EXPECT_NE(sheet.find("F1\t05/2004\n"), std::string::npos) << sheet;
    EXPECT_EQ(sheet, HistdumpReport("--report 1 05/2004", folder_.HistoryPath()));
}

TEST_F(ExcelExportTest, AnEnglishDayRowToo) {
    UseLanguage(testing::Language::English);
    Register();
    folder_.WriteHistory(kMay);
    Open();
    SelectRow(RowWithText("May"));
    SendMessageA(List(), WM_KEYDOWN, VK_ADD, 1);
    Export("05/31/2004");
    const std::string sheet = history::ReadBytes(sheetFile_);
    EXPECT_NE(sheet.find("B3\tDate\n"), std::string::npos) << sheet;
    EXPECT_EQ(sheet, HistdumpReport("--lang 1 --report 2 05/31/2004", folder_.HistoryPath()));
}

// With a later start day the report of a month row covers what that row shows, and the report of a
// day row the accounting month that holds the day, named after that month's row.
TEST_F(ExcelExportTest, TheReportCoversThePeriodOfItsRow) {
    Register();
    history::MonitorSettings settings;
    settings.g_History_StartDayOfMonth = 15;
    history::SetCurrentSettings(settings);
    folder_.WriteHistory({Day(2004, 4, 20, 1e6, 1e6, 60), Day(2004, 5, 10, 2e6, 2e6, 60),
                          Day(2004, 5, 20, 3e6, 3e6, 60), Day(2004, 6, 10, 4e6, 4e6, 60),
                          Day(2004, 6, 20, 5e6, 5e6, 60)});
    Open();
    Export("Mai");
    std::string sheet = history::ReadBytes(sheetFile_);
    EXPECT_NE(sheet.find("F1\t05/2004\nA3\t\nB3\tZeitraum\n"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("B4\t20.05.2004\n"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("B5\t10.06.2004\n"), std::string::npos) << sheet;
    EXPECT_EQ(sheet.find("B6\t"), std::string::npos) << sheet;
    EXPECT_EQ(sheet, HistdumpReport("--start-day 15 --report 1 05/2004", folder_.HistoryPath()));

    Expand("April");
    Export("10.05.2004");
    sheet = history::ReadBytes(sheetFile_);
    EXPECT_NE(sheet.find("F1\t04/2004\n"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("B4\t20.04.2004\nC4"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("B5\t10.05.2004\nC5"), std::string::npos) << sheet;
    EXPECT_EQ(sheet, HistdumpReport("--start-day 15 --report 2 10.05.2004", folder_.HistoryPath()));
}

TEST_F(ExcelExportTest, WithoutTheApplicationTheUserMayDeclineACsvFile) {
    folder_.WriteHistory(kMay);
    Open();
    const std::string before = history::ReadBytes(folder_.HistoryPath());
    std::remove(folder_.BackupPath().c_str());
    prompts_.answers = {IDNO};
    Export("Mai");
    EXPECT_EQ(prompts_.messages,
              (std::vector<std::string>{
                  "Unable to start Excel.\nSoll der Bericht stattdessen als CSV-Datei gespeichert werden?"}));
    EXPECT_EQ(prompts_.types.front(), static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(history::ReadBytes(folder_.HistoryPath()), before);
    EXPECT_FALSE(history::FileExists(folder_.BackupPath()));  // the history was not even opened
    EXPECT_FALSE(history::FileExists(sheetFile_));
}

// Yes goes on as "CSV Export": the system's Save As dialog proposes the period's file in the
// documents folder; the file named there gets what histdump --csv writes, the history is only read,
// and the viewer still finds its data afterwards.
TEST_F(ExcelExportTest, WithoutTheApplicationACsvFileThroughTheSaveAsDialog) {
    UseLanguage(testing::Language::English);
    folder_.WriteHistory(kMay);
    Open();
    std::remove(folder_.BackupPath().c_str());
    const std::string target = folder_.path() + "\\report.csv";
    std::string proposed;
    testing::WhenWindowShows whenShown("CSV Export", [&](HWND dialog) {
        HWND name = GetDlgItem(dialog, cmb13) != nullptr ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
        char text[MAX_PATH] = {};
        GetWindowTextA(name, text, sizeof text);
        proposed = text;
        SetWindowTextA(name, target.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    });
    Export("May");
    ASSERT_TRUE(whenShown.acted()) << "no Save As dialog";
    EXPECT_EQ(
        prompts_.messages,
        (std::vector<std::string>{"Unable to start Excel.\nDo you want to save the report as a CSV file instead?"}));
    EXPECT_EQ(proposed, "Lumetra 2004-05.csv");
    const std::string csv = history::ReadBytes(target);
    // The day of two records is one line with their sums; 86400 seconds count as they are.
    EXPECT_NE(csv.find("\r\n2004-05-02,4000000,2100000,6100000,86461\r\n"), std::string::npos) << csv;
    EXPECT_EQ(csv, HistdumpReport("--lang 1 --csv 1 05/2004", folder_.HistoryPath()));
    EXPECT_FALSE(history::FileExists(folder_.BackupPath()));
    EXPECT_FALSE(history::FileExists(target + ".tmp"));
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    EXPECT_EQ(std::string(cwd) + "\\", folder_.path() + "\\");
}

// Names the file without a dialog.
class ChosenFile : public FileChooser {
public:
    Result ChooseSaveFile(HWND, const std::string& title, const std::string&, const std::string&, std::string& path,
                          unsigned long&) override {
        titles.push_back(title);
        proposed.push_back(path);
        if (answer == kChosen)
            path = chosen;
        return answer;
    }
    Result answer = kChosen;
    std::string chosen;
    std::vector<std::string> titles, proposed;
};

TEST_F(ExcelExportTest, CsvExportProposesTheLastFolderAndTellsWhatCouldNotBeWrittenWithItsCause) {
    folder_.WriteHistory(kMay);
    Open();
    ChosenFile chooser;
    dialog_->setFileChooser(chooser);
    // A folder that is not there: the user is told, and nothing is left behind.
    chooser.chosen = folder_.path() + "\\missing\\report.csv";
    RightClickRow(RowWithText("Mai"));
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(ID_CSV_EXPORT, 0), 0);
    EXPECT_EQ(chooser.titles, (std::vector<std::string>{"CSV Export"}));
    EXPECT_EQ(chooser.proposed, (std::vector<std::string>{DocumentsFolder() + "\\Lumetra 2004-05.csv"}));
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0], winapp::LoadText(IDS_CSV_WRITE_FAILED, "%s", chooser.chosen) + "\n\n" +
                                        winapp::ErrorText(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(prompts_.types[0], static_cast<UINT>(MB_OK | MB_ICONSTOP));

    // A file that is open without sharing keeps its content.
    chooser.chosen = folder_.path() + "\\held.csv";
    std::ofstream(chooser.chosen) << "kept";
    HANDLE held = CreateFileA(chooser.chosen.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(ID_CSV_EXPORT, 0), 0);
    CloseHandle(held);
    EXPECT_EQ(prompts_.messages.size(), 2u);
    EXPECT_EQ(history::ReadBytes(chooser.chosen), "kept");
    EXPECT_FALSE(history::FileExists(chooser.chosen + ".tmp"));

    // Written: the next file, here of the year row, is proposed in the same folder.
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(ID_CSV_EXPORT, 0), 0);
    EXPECT_EQ(prompts_.messages.size(), 2u);
    EXPECT_EQ(history::ReadBytes(chooser.chosen), HistdumpReport("--csv 1 05/2004", folder_.HistoryPath()));
    RightClickRow(RowWithText("2004"));
    chooser.answer = FileChooser::kCancelled;  // nothing at all
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(ID_CSV_EXPORT, 0), 0);
    EXPECT_EQ(prompts_.messages.size(), 2u);
    EXPECT_EQ(chooser.proposed.back(), folder_.path() + "\\Lumetra 2004.csv");
}

TEST_F(ExcelExportTest, ARefusedCallIsShownWithItsDescription) {
    folder_.WriteHistory(kMay);
    Open();
    for (const wchar_t* description : {L"Zu viele Zeilen.", L""}) {
        report::fake::World world;
        world.refuseCall = 30;
        world.refusalDescription = description;
        dialog_->setSpreadsheetFactory([&world]() -> IDispatch* {
            report::fake::Object* application = world.Make("Application");
            application->AddRef();
            return application;
        });
        prompts_.messages.clear();
        prompts_.types.clear();
        Export("Mai");
        ASSERT_EQ(prompts_.messages.size(), 1u);
        EXPECT_EQ(prompts_.messages[0], description[0] != L'\0' ? "Zu viele Zeilen." : "Command failed.");
        EXPECT_EQ(prompts_.types[0], static_cast<UINT>(MB_OK | MB_ICONSTOP));
        EXPECT_EQ(world.OutstandingReferences(), 0);
        EXPECT_EQ(world.overReleases, 0);
    }
}

}  // namespace
}  // namespace viewer
