#include "settings_store.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "module_path.h"
#include "test_files.h"

namespace history {
namespace {

TEST(SettingsStoreTest, HoldsAllKeysOfTheMonitor) {
    EXPECT_EQ(kIntegerSettingCount, 98);
    EXPECT_EQ(kTextSettingCount, 12);
}

TEST(SettingsStoreTest, MissingFileGivesEveryDefault) {
    const MonitorSettings s = LoadMonitorSettingsFrom(TempDir().Path("missing.ini"));
    EXPECT_EQ(s.DisplayBytes, 1);
    EXPECT_EQ(s.g_History_StartDayOfMonth, 1);
    EXPECT_EQ(s.g_m_ConMode, 3);
    EXPECT_EQ(s.GraphOptions, -1);
    EXPECT_EQ(s.g_Router_Interface, -1);
    EXPECT_EQ(s.SampleRate, 1000);
    EXPECT_EQ(s.ColorSent, 13688896);
    EXPECT_EQ(s.g_Manual_Scaling2, 512000);
    EXPECT_EQ(s.g_Diagram_BottumUp, 1);
    EXPECT_STREQ(s.g_Router_Community, "netpub");
    EXPECT_STREQ(s.g_ClientIP, "127.0.0.1");
    EXPECT_STREQ(s.g_WakeOnLan_MAC, "000000000000");
    EXPECT_STREQ(s.g_m_Password, "");
    EXPECT_STREQ(s.g_Router_KorrekturUp, "1.0");
}

TEST(SettingsStoreTest, ReadsValuesOfSectionSettings) {
    TempDir dir;
    const std::string path = dir.Write("lumetrapro.ini",
                                       "[Other]\r\nDisplayBytes=5\r\n"
                                       "[Settings]\r\n"
                                       "DisplayBytes=0\r\n"
                                       "g_History_StartDayOfMonth=15\r\n"
                                       "g_Diagram_BottumUp=0\r\n"
                                       "g_ClientIP=" +
                                           std::string(40, '7') +
                                           "\r\n"
                                           "g_Router_Adresse=10.0.0.138\r\n"
                                           "GraphOptions=-7\r\n");
    const MonitorSettings s = LoadMonitorSettingsFrom(path);
    EXPECT_EQ(s.DisplayBytes, 0);
    EXPECT_EQ(s.g_History_StartDayOfMonth, 15);
    EXPECT_EQ(s.GraphOptions, -7);
    // The key read is "int g_Diagram_BottumUp"; the look-alike leaves the default.
    EXPECT_EQ(s.g_Diagram_BottumUp, 1);
    EXPECT_EQ(std::string(s.g_ClientIP), std::string(37, '7'));
    EXPECT_STREQ(s.g_Router_Adresse, "10.0.0.138");
    EXPECT_EQ(s.g_m_ConMode, 3);
}

TEST(SettingsStoreTest, KeyWithLeadingIntIsReadWhole) {
    TempDir dir;
    const MonitorSettings s = LoadMonitorSettingsFrom(dir.Write("a.ini", "[Settings]\nint g_Diagram_BottumUp=0\n"));
    EXPECT_EQ(s.g_Diagram_BottumUp, 0);
}

TEST(SettingsStoreTest, LongTextsAreCutToTheirBuffers) {
    TempDir dir;
    const MonitorSettings s =
        LoadMonitorSettingsFrom(dir.Write("a.ini", "[Settings]\ng_Modem_File1=" + std::string(1000, 'm') +
                                                       "\ng_m_Password=" + std::string(38, 'p') + "\n"));
    EXPECT_EQ(std::string(s.g_Modem_File1), std::string(254, 'm'));
    EXPECT_EQ(std::string(s.g_m_Password), std::string(37, 'p'));
    EXPECT_STREQ(s.g_Modem_File2, "");
}

TEST(SettingsStoreTest, FileLiesBesideTheRunningProgram) {
    const std::string program = RunningProgramPath();
    ASSERT_FALSE(program.empty());
    const std::string path = SettingsFilePath("lumetrapro.ini");
    EXPECT_EQ(path, FolderOfPath(program) + "lumetrapro.ini");
    EXPECT_NE(path.find("lumetrapro.ini"), 0u);
    // A file elsewhere is not found: with none beside the test program, the defaults apply.
    std::remove(path.c_str());
    EXPECT_EQ(ReadSettingInt("g_m_ConMode", 3), 3);
    { std::ofstream(path, std::ios::binary) << "[Settings]\r\ng_m_ConMode=9\r\ng_ClientIP=10.1.1.1\r\n"; }
    EXPECT_EQ(ReadSettingInt("g_m_ConMode", 3), 9);
    char buffer[38];
    EXPECT_EQ(ReadSettingText("g_ClientIP", "127.0.0.1", buffer, sizeof buffer), 8u);
    EXPECT_STREQ(buffer, "10.1.1.1");
    EXPECT_EQ(LoadMonitorSettings().g_m_ConMode, 9);
    std::remove(path.c_str());
}

TEST(ModulePathTest, FolderEndsAtTheLastSeparator) {
    EXPECT_EQ(FolderOfPath("C:\\Program Files\\Lumetra\\histview.exe"), "C:\\Program Files\\Lumetra\\");
    EXPECT_EQ(FolderOfPath("histview.exe"), "");
}

}  // namespace
}  // namespace history
