// The language choice at start-up, from the monitor's registry setting.
#include "viewer_app.h"

#include <gtest/gtest.h>

#include "app_texts.h"
#include "language.h"
#include "monitor_contract.h"
#include "registry_key.h"
#include "resource.h"
#include "resources.h"

namespace viewer {
namespace {

class LanguageSettingTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, monitor::kLanguageKey);
        startLocale_ = GetThreadLocale();
        history::SetLanguageIndex(0);
    }
    void TearDown() override {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, monitor::kLanguageKey);
        SetThreadLocale(startLocale_);
        history::SetLanguageIndex(0);
        history::SetAppTextLoader(nullptr);
    }

    // Stores the value as the monitor does, with or without the string's terminator.
    static void StoreLanguage(const std::string& text, bool withTerminator = true) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, monitor::kLanguageKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, monitor::kLanguageValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + (withTerminator ? 1 : 0)));
        RegCloseKey(key);
    }

    static std::string ColumnCaption() {
        history::SetAppTextLoader(&winapp::LoadText);
        return winapp::LoadText(IDS_COLUMN_DATE);
    }

    LCID startLocale_ = 0;
    ViewerApp app_;
};

TEST_F(LanguageSettingTest, OneGivesEnglishTextsAndSlashedDates) {
    StoreLanguage("1");
    app_.ChooseLanguage();
    EXPECT_EQ(history::LanguageIndex(), 1);
    EXPECT_EQ(LANGIDFROMLCID(GetThreadLocale()), 1033);
    EXPECT_EQ(ColumnCaption(), "Date");
    EXPECT_EQ(history::CurrentDateStyle(), history::DateStyle::Slashed);
}

TEST_F(LanguageSettingTest, ZeroOrNoSettingGivesGermanTextsAndDottedDates) {
    app_.ChooseLanguage();  // no key at all
    EXPECT_EQ(history::LanguageIndex(), 0);
    EXPECT_EQ(LANGIDFROMLCID(GetThreadLocale()), 1031);
    EXPECT_EQ(ColumnCaption(), "Zeitraum");

    SetThreadLocale(MAKELCID(1033, SORT_DEFAULT));
    StoreLanguage("0", false);
    app_.ChooseLanguage();
    EXPECT_EQ(history::LanguageIndex(), 0);
    EXPECT_EQ(LANGIDFROMLCID(GetThreadLocale()), 1031);
    EXPECT_EQ(ColumnCaption(), "Zeitraum");
    EXPECT_EQ(history::CurrentDateStyle(), history::DateStyle::Dotted);
}

TEST_F(LanguageSettingTest, IndexesOutsideTheTableLeaveTheLocale) {
    SetThreadLocale(MAKELCID(1036, SORT_DEFAULT));
    StoreLanguage("7");
    app_.ChooseLanguage();
    EXPECT_EQ(history::LanguageIndex(), 7);
    EXPECT_EQ(LANGIDFROMLCID(GetThreadLocale()), 1036);
    EXPECT_EQ(history::CurrentDateStyle(), history::DateStyle::Slashed);
    EXPECT_EQ(ColumnCaption(), "Date");  // French has no texts of its own

    SetThreadLocale(MAKELCID(1031, SORT_DEFAULT));
    StoreLanguage("-1");
    app_.ChooseLanguage();
    EXPECT_EQ(history::LanguageIndex(), -1);
    EXPECT_EQ(LANGIDFROMLCID(GetThreadLocale()), 1031);
    EXPECT_EQ(history::CurrentDateStyle(), history::DateStyle::Dotted);
    EXPECT_EQ(ColumnCaption(), "Zeitraum");
}

TEST_F(LanguageSettingTest, OtherLanguagesSetTheirLocaleAndShowEnglish) {
    const struct {
        const char* text;
        LANGID locale;
    } cases[] = {{"2", 1036}, {"3", 1034}, {"4", 1043}, {"5", 1045}, {"", 1031}, {"abc", 1031}};
    for (const auto& c : cases) {
        StoreLanguage(c.text);
        app_.ChooseLanguage();
        EXPECT_EQ(LANGIDFROMLCID(GetThreadLocale()), c.locale) << c.text;
        EXPECT_EQ(ColumnCaption(), c.locale == 1031 ? "Zeitraum" : "Date") << c.text;
    }
}

TEST(RegistryKeyTest, ReadsTextsAndReportsWhatIsMissing) {
    const char* path = "SOFTWARE\\Verdanix\\LumetraProf\\RegistryKeyTest";
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(raw, "Plain", 0, REG_SZ, reinterpret_cast<const BYTE*>("12"), 3);
    RegSetValueExA(raw, "Unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>("34"), 2);
    RegSetValueExA(raw, "Empty", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 0);
    RegCloseKey(raw);

    winapp::RegistryKey key;
    std::string text = "old";
    EXPECT_FALSE(key.ReadStringValue("Plain", text));  // not open yet
    EXPECT_EQ(text, "");
    ASSERT_TRUE(key.OpenKey(HKEY_CURRENT_USER, path));
    text = "old";
    EXPECT_TRUE(key.ReadStringValue("Plain", text));
    EXPECT_EQ(text, "12");
    EXPECT_TRUE(key.ReadStringValue("Unterminated", text));
    EXPECT_EQ(text, "34");
    EXPECT_TRUE(key.ReadStringValue("Empty", text));
    EXPECT_EQ(text, "");
    text = "old";
    EXPECT_FALSE(key.ReadStringValue("Missing", text));
    EXPECT_EQ(text, "");
    key.CloseKey();
    EXPECT_FALSE(key.isOpen());
    EXPECT_FALSE(key.OpenKey(HKEY_CURRENT_USER, "SOFTWARE\\Verdanix\\NoSuchKey"));
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

}  // namespace
}  // namespace viewer
