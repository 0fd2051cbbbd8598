// The portable reader of initialisation files against the rules of the Windows profile functions.
// One table serves both builds: natively it is checked against the results that the Windows
// functions gave for it; in the Windows build the reader is held to the functions themselves.
#include "portable_profile.h"

#include <gtest/gtest.h>

#include <string>

#include "test_files.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace history {
namespace {

using namespace std::string_literals;

struct TextCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    const char* defaultValue;
    std::size_t size;
    std::string expected;
};

const TextCase kTextCases[] = {
    {"plain", "[Settings]\r\nA=1\r\n", "Settings", "A", "d", 38, "1"},
    {"case of names", "[settings]\r\na=7\r\n", "SETTINGS", "A", "d", 38, "7"},
    {"blanks around names and values", "  [ Settings ]  \r\n  A  =  x y  \r\n", "Settings", "A", "d", 38, "x y"},
    {"blanks of the lookup", "[Settings]\r\nA=k\r\n", " Settings ", "A ", "d", 38, "k"},
    {"tabs", "[Settings]\r\n\tA\t=\tt\t\r\n", "Settings", "A", "d", 38, "t"},
    {"key beginning with int", "[Settings]\r\nint g_Diagram_BottumUp = 0\r\ng_Diagram_BottumUp=5\r\n", "Settings",
     "int g_Diagram_BottumUp", "d", 38, "0"},
    {"inner blanks count", "[Settings]\r\nint  g_Diagram_BottumUp=3\r\n", "Settings", "int g_Diagram_BottumUp", "d", 38,
     "d"},
    {"double quotes", "[Settings]\r\nA=\"quoted\"\r\n", "Settings", "A", "d", 38, "quoted"},
    {"single quotes", "[Settings]\r\nA='quoted'\r\n", "Settings", "A", "d", 38, "quoted"},
    {"opening quote only", "[Settings]\r\nA=\"open\r\n", "Settings", "A", "d", 38, "\"open"},
    {"closing quote only", "[Settings]\r\nA=close\"\r\n", "Settings", "A", "d", 38, "close\""},
    {"mixed quotes", "[Settings]\r\nA=\"mixed'\r\n", "Settings", "A", "d", 38, "\"mixed'"},
    {"blanks inside quotes", "[Settings]\r\nA= \" in \" \r\n", "Settings", "A", "d", 38, " in "},
    {"a lone quote", "[Settings]\r\nA=\"\r\n", "Settings", "A", "d", 38, "\""},
    {"empty quotes", "[Settings]\r\nA=\"\"\r\n", "Settings", "A", "d", 38, ""},
    {"semicolon line is a key", "[Settings]\r\n;A=1\r\nA=2\r\n", "Settings", "A", "d", 38, "2"},
    {"semicolon key found", "[Settings]\r\n;A=1\r\n", "Settings", ";A", "d", 38, "1"},
    {"semicolon after a value", "[Settings]\r\nA=5 ; five\r\n", "Settings", "A", "d", 38, "5 ; five"},
    {"line without equals", "[Settings]\r\nA\r\n", "Settings", "A", "d", 38, "d"},
    {"duplicate key: first wins", "[Settings]\r\nA=first\r\nA=second\r\n", "Settings", "A", "d", 38, "first"},
    {"duplicate section: first only", "[Settings]\r\nB=1\r\n[Other]\r\nA=x\r\n[Settings]\r\nA=later\r\n", "Settings",
     "A", "d", 38, "d"},
    {"duplicate section: first wins", "[Settings]\r\nA=one\r\n[Settings]\r\nA=two\r\n", "Settings", "A", "d", 38,
     "one"},
    {"LF lines", "[Settings]\nA=lf\nB=2\n", "Settings", "B", "d", 38, "2"},
    {"CR lines", "[Settings]\rA=cr\rB=2\r", "Settings", "B", "d", 38, "2"},
    {"CR CR LF", "[Settings]\r\nA=v\r\r\n", "Settings", "A", "d", 38, "v"},
    {"missing section", "[Other]\r\nA=1\r\n", "Settings", "A", "dflt", 38, "dflt"},
    {"key of another section", "[Settings]\r\nB=1\r\n[Other]\r\nA=2\r\n", "Settings", "A", "dflt", 38, "dflt"},
    {"empty value", "[Settings]\r\nA=\r\n", "Settings", "A", "dflt", 38, ""},
    {"longer than the buffer", "[Settings]\r\nA=0123456789012345678901234567890123456789\r\n", "Settings", "A", "d", 38,
     "0123456789012345678901234567890123456"},
    {"buffer of one", "[Settings]\r\nA=abc\r\n", "Settings", "A", "d", 1, ""},
    {"buffer of two", "[Settings]\r\nA=abc\r\n", "Settings", "A", "d", 2, "a"},
    {"default cut", "[Settings]\r\n", "Settings", "A", "defaultvalue", 5, "defa"},
    {"default loses trailing blanks", "[Settings]\r\n", "Settings", "A", "  def  ", 38, "  def"},
    {"default loses quotes", "[Settings]\r\n", "Settings", "A", "\"def\"", 38, "def"},
    {"byte order mark", "\xef\xbb\xbf[Settings]\r\nA=bom\r\n", "Settings", "A", "d", 38, "bom"},
    {"key before any section", "A=top\r\n[Settings]\r\nB=1\r\n", "Settings", "A", "d", 38, "d"},
    {"unclosed section", "[Settings\r\nA=u\r\n", "Settings", "A", "d", 38, "d"},
    {"text after the section", "[Settings] junk\r\nA=s\r\n", "Settings", "A", "d", 38, "s"},
    {"equals in the value", "[Settings]\r\nA=b=c\r\n", "Settings", "A", "d", 38, "b=c"},
    {"empty file", "", "Settings", "A", "d", 38, "d"},
    {"no newline at the end", "[Settings]\r\nA=end", "Settings", "A", "d", 38, "end"},
    {"NUL ends the value", "[Settings]\r\nA=x\0y\r\n"s, "Settings", "A", "d", 38, "x"},
};

struct IntCase {
    const char* value;
    int expected;
};

const IntCase kIntCases[] = {
    {"-5", -5},
    {"+7", 7},
    {"12abc", 12},
    {"0x10", 16},
    {"-0x10", -16},
    {"+0x10", 16},
    {"0X1f", 0},
    {"0x", 0},
    {"0xg", 0},
    {"0x1ffffffff", -1},
    {" 42", 42},
    {"  -8  ", -8},
    {"4294967295", -1},
    {"99999999999", 1215752191},
    {"2147483648", -2147483647 - 1},
    {"-2147483649", 2147483647},
    {"", -77},  // empty: the default
    {"abc", 0},
    {"- 3", 0},
    {"-", 0},
    {"1e3", 1},
    {"\"9\"", 9},
    {"'12'", 12},
    {" \"7\" ", 7},
    {"007", 7},
    {"-0", 0},
};

#ifdef _WIN32
std::string FullPath(const std::string& path) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}
#endif

TEST(PortableProfileTest, TextsFollowTheProfileRules) {
    TempDir dir;
    for (const TextCase& c : kTextCases) {
        const std::string path = dir.Write("case.ini", c.file);
        char buffer[300];
        const std::size_t count = PortableProfileString(c.section, c.key, c.defaultValue, buffer, c.size, path);
        const std::string text(buffer, count);
        EXPECT_EQ(text, c.expected) << c.name;
        EXPECT_EQ(buffer[count], '\0') << c.name;
#ifdef _WIN32
        char system[300];
        const DWORD systemCount = GetPrivateProfileStringA(c.section, c.key, c.defaultValue, system,
                                                           static_cast<DWORD>(c.size), FullPath(path).c_str());
        EXPECT_EQ(text, std::string(system, systemCount)) << c.name << ": the system reads it otherwise";
#endif
    }
}

TEST(PortableProfileTest, IntegersFollowTheProfileRules) {
    TempDir dir;
    for (const IntCase& c : kIntCases) {
        const std::string path = dir.Write("case.ini", "[Settings]\r\nA=" + std::string(c.value) + "\r\n");
        const int value = PortableProfileInt("Settings", "A", -77, path);
        EXPECT_EQ(value, c.expected) << "'" << c.value << "'";
#ifdef _WIN32
        EXPECT_EQ(value, static_cast<int>(GetPrivateProfileIntA("Settings", "A", -77, FullPath(path).c_str())))
            << "'" << c.value << "': the system reads it otherwise";
#endif
    }
}

TEST(PortableProfileTest, MissingFileOrKeyGivesTheDefault) {
    TempDir dir;
    const std::string missing = dir.Path("missing.ini");
    char buffer[38];
    EXPECT_EQ(PortableProfileString("Settings", "A", "netpub", buffer, sizeof buffer, missing), 6u);
    EXPECT_STREQ(buffer, "netpub");
    EXPECT_EQ(PortableProfileInt("Settings", "A", -1, missing), -1);
    const std::string path = dir.Write("a.ini", "[Settings]\r\nB=1\r\n");
    EXPECT_EQ(PortableProfileInt("Settings", "A", 3, path), 3);
    // A buffer of no size takes nothing.
    buffer[0] = 'x';
    EXPECT_EQ(PortableProfileString("Settings", "B", "d", buffer, 0, path), 0u);
    EXPECT_EQ(buffer[0], 'x');
}

TEST(PortableProfileTest, LongLinesAndValuesStayBounded) {
    TempDir dir;
    const std::string path = dir.Write(
        "long.ini", "[Settings]\r\nA=" + std::string(100000, 'v') + "\r\n" + std::string(5000, 'k') + "=1\r\n");
    char buffer[255];
    EXPECT_EQ(PortableProfileString("Settings", "A", "", buffer, sizeof buffer, path), 254u);
    EXPECT_EQ(std::string(buffer), std::string(254, 'v'));
    EXPECT_EQ(PortableProfileInt("Settings", std::string(5000, 'k').c_str(), 0, path), 1);
}

}  // namespace
}  // namespace history
