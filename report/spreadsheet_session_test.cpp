// The session against automation objects of our own that write down every call and count every
// reference: the report's member calls in order, with their identifiers, kinds and argument types,
// and no reference left over or released twice, also when the application refuses a call.
#include "spreadsheet_session.h"

#include <gtest/gtest.h>

#include <fstream>

#include "fake_automation.h"
#include "language.h"
#include "operation_log.h"
#include "settings_store.h"
#include "spreadsheet_report.h"
#include "test_files.h"
#include "worksheet_model.h"

namespace report {
namespace {

using history::Day;

std::string Caption(int id) {
    return "caption " + std::to_string(id);
}

// The member calls one operation makes, as the fake objects write them down.
std::vector<std::string> Expand(const std::string& line) {
    const std::string name = line.substr(0, line.find('('));
    std::vector<std::string> values;
    std::string inner = line.substr(name.size() + 1, line.size() - name.size() - 2);
    for (std::size_t start = 0;;) {
        const std::size_t bar = inner.find('|', start);
        values.push_back(inner.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    auto range = [](const std::string& first, const std::string& last) {
        return std::vector<std::string>{"Worksheet.197/2(BSTR:" + first + ",BSTR:" + last + ")"};
    };
    auto join = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    auto on = [](const std::string& kind, const std::string& first, const std::string& last) {
        return kind + "(" + first + "," + last + ")";
    };
    auto font = [&](const std::string& first, const std::string& last, const std::string& put) {
        return join(range(first, last), {on("Range", first, last) + ".146/2()", on("Font", first, last) + put});
    };
    if (name == "StartApplication") {
        return join({"Application.572/2()", "Workbooks.181/1(I2:1)", "Workbook.485/2()", "Worksheets.170/2(I2:1)",
                     "Worksheet.110/4(BSTR:" + values[0] + ")"},
                    join(Expand("SetCell(A1|" + values[0] + "|2)"),
                         join(Expand("SetInteriorColor(A1|F1|1)"),
                              join(Expand("SetBold(A1|A1)"), Expand("SetFontSize(A1|A1|18)")))));
    }
    if (name == "SetCell")
        return join(range(values[0], values[0]), {on("Range", values[0], values[0]) + ".6/4(BSTR:" + values[1] + ")",
                                                  on("Range", values[0], values[0]) + ".146/2()",
                                                  on("Font", values[0], values[0]) + ".97/4(I2:" + values[2] + ")"});
    if (name == "SetHeaderBand")
        return join(Expand("SetCell(" + values[0] + "|" + values[2] + "|2)"),
                    join(Expand("SetInteriorColor(" + values[0] + "|" + values[1] + "|16)"),
                         Expand("SetBold(" + values[0] + "|" + values[0] + ")")));
    if (name == "SetFontSize")
        return font(values[0], values[1], ".104/4(I2:" + values[2] + ")");
    if (name == "SetFontColor")
        return font(values[0], values[1], ".97/4(I2:" + values[2] + ")");
    if (name == "SetBold")
        return font(values[0], values[1], ".96/4(I2:1)");
    if (name == "SetUnderline")
        return font(values[0], values[1], ".106/4(I2:2)");
    if (name == "SetInteriorColor")
        return join(range(values[0], values[1]),
                    {on("Range", values[0], values[1]) + ".129/2()",
                     on("Interior", values[0], values[1]) + ".97/4(I2:" + values[2] + ")"});
    if (name == "SetColumnWidth")
        return join(range(values[0], values[0]),
                    {on("Range", values[0], values[0]) + ".246/2()",
                     on("Column", values[0], values[0]) + ".242/4(BSTR:" + values[1] + ")"});
    if (name == "SetColumnAlignment")
        return join(range(values[0], values[0]), {on("Range", values[0], values[0]) + ".246/2()",
                                                  on("Column", values[0], values[0]) + ".136/4(I2:" + values[1] + ")"});
    if (name == "ShowToUser")
        return {"Application.558/4(BOOL:-1)", "Application.1210/4(BOOL:-1)"};
    return {"unknown operation " + line};
}

class SpreadsheetSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        history::SetLanguageIndex(0);
        history::SetCurrentSettings(history::MonitorSettings{});
        path_ = folder_.Path("volume.hst");
        folder_.Path("volume.hst_backup");
        std::ofstream(path_, std::ios::binary) << history::RecordBytes(
            {Day(2004, 5, 2, 1e6, 2e6, 61), Day(2004, 4, 30), Day(2004, 5, 31, 3e6, 1e5, 90000)});
    }

    // The report of the month row 05/2004, through a session on the fake application.
    void RunReport(fake::World& world, std::vector<std::string>* notices = nullptr) {
        SpreadsheetSession session(
            [notices](const std::string& text) {
                if (notices != nullptr)
                    notices->push_back(text);
            },
            [&world]() -> IDispatch* {
                fake::Object* application = world.Make("Application");
                application->AddRef();
                return application;
            });
        BuildSpreadsheetReport(session, 1, texts_, 1, path_, Caption);
    }

    std::vector<std::string> Calls(const fake::World& world) const {
        std::vector<std::string> calls;
        for (const fake::Call& call : world.calls)
            calls.push_back(call.Text());
        return calls;
    }

    history::TempDir folder_;
    std::string path_;
    std::string texts_[4] = {"Mai", "", "", "05/2004"};
};

TEST_F(SpreadsheetSessionTest, EveryMemberCallInTheReportsOrder) {
    WorksheetModel model;
    OperationLog log(model);
    BuildSpreadsheetReport(log, 1, texts_, 1, path_, Caption);
    std::vector<std::string> expected;
    for (const std::string& line : log.lines) {
        const std::vector<std::string> calls = Expand(line);
        expected.insert(expected.end(), calls.begin(), calls.end());
    }

    fake::World world;
    RunReport(world);
    EXPECT_EQ(Calls(world), expected);
    EXPECT_GT(world.calls.size(), 150u);
    EXPECT_EQ(world.OutstandingReferences(), 0);
    EXPECT_EQ(world.overReleases, 0);
}

TEST_F(SpreadsheetSessionTest, TheFakeApplicationReceivesTheSheet) {
    fake::World world;
    WorksheetModel sheet;
    world.sheet = &sheet;
    RunReport(world);
    EXPECT_EQ(sheet.sheetName, "Lumetra Report");
    EXPECT_EQ(sheet.At("F1").text, "05/2004");
    EXPECT_EQ(sheet.At("F1").fontColour, kWhite);
    EXPECT_TRUE(sheet.At("A3").bold);
    EXPECT_FALSE(sheet.At("B3").bold);
    EXPECT_EQ(sheet.At("B5").text, "31.05.2004");
    EXPECT_EQ(sheet.At("F5").text, " 00:00:00");
    EXPECT_EQ(sheet.Column('A').alignment, kAlignLeft);
    EXPECT_TRUE(sheet.visible);
    EXPECT_TRUE(sheet.userControl);
}

TEST_F(SpreadsheetSessionTest, ARefusedCallEndsTheReportWithoutLeaks) {
    fake::World complete;
    RunReport(complete);
    const int total = static_cast<int>(complete.calls.size());
    for (int refused : {0, 1, 3, 5, 6, 40, total / 2, total - 2, total - 1}) {
        for (const wchar_t* description : {L"Die Tabelle ist gesperrt.", L""}) {
            fake::World world;
            world.refuseCall = refused;
            world.refusalDescription = description;
            try {
                RunReport(world);
                ADD_FAILURE() << "call " << refused << " was refused, but the report went on";
            } catch (const AutomationError& error) {
                EXPECT_EQ(error.hasDescription(), description[0] != L'\0') << refused;
                EXPECT_EQ(std::string(error.what()), fake::Narrow(description)) << refused;
            }
            EXPECT_EQ(static_cast<int>(world.calls.size()), refused + 1) << refused;
            EXPECT_EQ(world.OutstandingReferences(), 0) << refused;
            EXPECT_EQ(world.overReleases, 0) << refused;
        }
    }
}

TEST_F(SpreadsheetSessionTest, WithoutTheApplicationOnlyTheNotice) {
    std::vector<std::string> notices;
    SpreadsheetSession session([&notices](const std::string& text) { notices.push_back(text); },
                               []() -> IDispatch* { return nullptr; });
    BuildSpreadsheetReport(session, 1, texts_, 1, path_, Caption);
    EXPECT_EQ(notices, (std::vector<std::string>{"Unable to start Excel.\n"}));
    EXPECT_FALSE(history::FileExists(path_ + "_backup"));
}

TEST_F(SpreadsheetSessionTest, CallsOnEmptySlotsDoNothing) {
    // An application that yields no Workbooks: every later call finds its slot empty.
    fake::World world;
    fake::Object* application = world.Make("Nothing");
    application->AddRef();
    {
        SpreadsheetSession session(nullptr, [application]() -> IDispatch* { return application; });
        EXPECT_TRUE(session.StartApplication("Lumetra Report"));
        session.SetCell("B4", "x", 1);
        session.ShowToUser();
    }
    EXPECT_EQ(world.calls.size(), 3u);  // Workbooks, Visible, UserControl on the application only
    EXPECT_EQ(world.OutstandingReferences(), 0);
}

}  // namespace
}  // namespace report
