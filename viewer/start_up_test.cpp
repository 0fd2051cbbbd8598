#include "start_up.h"

#include <gtest/gtest.h>

namespace viewer {
namespace {

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
