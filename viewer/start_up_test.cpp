#include "start_up.h"

#include <gtest/gtest.h>

#include <climits>

namespace viewer {
namespace {

TEST(StartUp, LanguageTextsReadAsDecimalNumbers) {
    struct Case {
        const char* text;
        int index;
    } cases[] = {{"1", 1},
                 {"0", 0},
                 {"", 0},
                 {"x", 0},
                 {"7", 7},
                 {"-1", -1},
                 {" 2", 2},
                 {"3abc", 3},
                 {"012", 12},
                 {"99999999999999", INT_MAX},
                 {"-99999999999999", INT_MIN}};
    for (const Case& c : cases)
        EXPECT_EQ(ParseLanguageIndex(c.text), c.index) << '"' << c.text << '"';
}

TEST(StartUp, LanguageIndexesPickTheirLocales) {
    const unsigned expected[] = {1031, 1033, 1036, 1034, 1043, 1045};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(LocaleOfLanguage(i), expected[i]);
    EXPECT_EQ(LocaleOfLanguage(-1), 0u);
    EXPECT_EQ(LocaleOfLanguage(6), 0u);
    EXPECT_EQ(LocaleOfLanguage(7), 0u);
}

TEST(StartUp, GermanLocalesShowGermanTextsAllOthersEnglish) {
    EXPECT_EQ(ResourceLanguageOfLocale(1031), 1031u);
    EXPECT_EQ(ResourceLanguageOfLocale(2055), 1031u);  // Swiss German
    EXPECT_EQ(ResourceLanguageOfLocale(3079), 1031u);  // Austrian German
    EXPECT_EQ(ResourceLanguageOfLocale(1033), 1033u);
    EXPECT_EQ(ResourceLanguageOfLocale(1036), 1033u);
    EXPECT_EQ(ResourceLanguageOfLocale(1045), 1033u);
}

TEST(StartUp, ProgramFolderEndsAtTheLastBackslash) {
    std::string folder = "unchanged";
    EXPECT_TRUE(ProgramFolderOf("C:\\Programme\\Lumetra\\histview.exe", folder));
    EXPECT_EQ(folder, "C:\\Programme\\Lumetra\\");
    EXPECT_TRUE(ProgramFolderOf("Z:\\histview.exe", folder));
    EXPECT_EQ(folder, "Z:\\");
    EXPECT_TRUE(ProgramFolderOf("\\\\server\\share\\h.exe", folder));
    EXPECT_EQ(folder, "\\\\server\\share\\");

    folder = "unchanged";
    EXPECT_FALSE(ProgramFolderOf("histview.exe", folder));
    EXPECT_FALSE(ProgramFolderOf("\\histview.exe", folder));  // the first character is not searched
    EXPECT_FALSE(ProgramFolderOf("", folder));
    EXPECT_EQ(folder, "unchanged");
}

}  // namespace
}  // namespace viewer
