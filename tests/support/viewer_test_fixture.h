// The viewer dialog on real windows, for tests: a folder laid out as an installation, prompts that
// answer by themselves, and ways to read and click the tree list.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app_texts.h"
#include "language.h"
#include "resources.h"
#include "settings_store.h"
#include "ui_test_support.h"
#include "viewer_dialog.h"

namespace viewer::testing {

// Message boxes and popup menus that note what they were shown instead of waiting for a person.
class RecordingPrompts : public winapp::Prompts {
public:
    // Answers in turn from `answers`; without one, the affirmative button of the box.
    int ShowMessage(HWND, const std::string& text, const std::string& caption, UINT type) override {
        messages.push_back(text);
        captions.push_back(caption);
        types.push_back(type);
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
    }
    void TrackPopup(HMENU popup, UINT, POINT, HWND owner) override {
        std::vector<UINT> ids;
        for (int i = 0; i < GetMenuItemCount(popup); ++i)
            ids.push_back(GetMenuItemID(popup, i));
        popups.push_back(ids);
        char text[64] = {};
        GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
        firstItemTexts.push_back(text);
        owners.push_back(owner);
    }
    POINT CursorPosition() override { return {100, 100}; }

    std::deque<int> answers;
    std::vector<std::string> messages;
    std::vector<std::string> captions;
    std::vector<UINT> types;
    std::vector<std::vector<UINT>> popups;
    std::vector<std::string> firstItemTexts;
    std::vector<HWND> owners;
};

enum class Language { German = 0, English = 1 };

class ViewerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        startFolder_ = cwd;
        history::SetCurrentSettings(history::MonitorSettings{});
        UseLanguage(Language::German);
    }
    void TearDown() override {
        dialog_.reset();
        SetCurrentDirectoryA(startFolder_.c_str());
        history::SetAppTextLoader(nullptr);
    }

    static void UseLanguage(Language language) {
        history::SetLanguageIndex(static_cast<int>(language));
        winapp::SetResourceLanguage(language == Language::German ? MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)
                                                                 : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        history::SetAppTextLoader(&winapp::LoadText);
    }

    ViewerDialog& Open() {
        dialog_ = std::make_unique<ViewerDialog>(folder_.ProgramPath(), prompts_);
        EXPECT_TRUE(dialog_->Create());
        PumpPending();
        return *dialog_;
    }

    HWND List() const { return GetDlgItem(dialog_->hwnd(), IDC_TREELIST); }
    int RowCount() const { return ListView_GetItemCount(List()); }
    std::string Text(int row, int column = 0) const {
        char text[256] = {};
        ListView_GetItemText(List(), row, column, text, sizeof text);
        return text;
    }
    std::vector<std::string> Labels() const {
        std::vector<std::string> out;
        for (int row = 0; row < RowCount(); ++row)
            out.push_back(Text(row));
        return out;
    }
    int RowWithText(const std::string& text) const {
        for (int row = 0; row < RowCount(); ++row) {
            if (Text(row) == text)
                return row;
        }
        return -1;
    }
    void RightClickRow(int row) {
        RECT label{};
        label.left = LVIR_LABEL;
        SendMessageA(List(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
        Click(List(), label.left + 10, (label.top + label.bottom) / 2, true);
    }
    void SelectRow(int row) const {
        ListView_SetItemState(List(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    std::string ColumnCaption(int column) const {
        char text[64] = {};
        LVCOLUMNA info{};
        info.mask = LVCF_TEXT;
        info.pszText = text;
        info.cchTextMax = sizeof text;
        SendMessageA(List(), LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        return text;
    }

    InstallFolder folder_;
    RecordingPrompts prompts_;
    std::unique_ptr<ViewerDialog> dialog_;
    std::string startFolder_;
};

}  // namespace viewer::testing
