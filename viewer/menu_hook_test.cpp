// The viewer with the menu library's hook in force (for every test of this program, as in the
// real viewer): its context menu on a day row and its system menu get the flat frame and shadow.
#include <gtest/gtest.h>

#include <cctype>

#include "menu_colors.h"
#include "menu_system.h"
#include "menu_window.h"
#include "screen_pixels.h"
#include "viewer_test_fixture.h"

namespace viewer {
namespace {

class MenuHookEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(menus::InstallMenuHook()); }
    void TearDown() override { menus::RemoveMenuHook(); }
};
const auto* const kMenuHook = ::testing::AddGlobalTestEnvironment(new MenuHookEnvironment);

// What the open menu window looked like, read from the screen while it was open.
struct OpenMenu {
    bool seen = false;
    bool subclassed = false;
    HMENU knownMenu = reinterpret_cast<HMENU>(1);
    int drawBorder = -1;
    RECT rect{};
    menus::Colour outline = 0, band = 0, gutter = 0, shadow = 0, shadowBottom = 0;
    winapp::ScreenPixels shot;  // the whole screen
};

OpenMenu g_open;
HDC g_before = nullptr;  // the screen before the menu opened

menus::Colour ScreenPixel(HDC dc, int x, int y) {
    return static_cast<menus::Colour>(GetPixel(dc, x, y));
}

// EnumThreadWindows: the first visible menu window.
BOOL CALLBACK FindMenuWindow(HWND window, LPARAM result) {
    char name[20] = {};
    if (IsWindowVisible(window) && GetClassNameA(window, name, sizeof name) == 6 && std::string(name) == "#32768") {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&found));
    if (found == nullptr)
        return;
    KillTimer(nullptr, timer);
    g_open.seen = true;
    if (const menus::MenuWindowState* state = menus::StateOf(found)) {
        g_open.subclassed = true;
        g_open.knownMenu = state->menu;
        g_open.drawBorder = state->drawBorder;
    }
    GetWindowRect(found, &g_open.rect);
    const RECT& r = g_open.rect;
    const int middle = (r.top + r.bottom) / 2;
    HDC screen = GetDC(nullptr);
    g_open.outline = ScreenPixel(screen, r.left, middle);
    g_open.band = ScreenPixel(screen, r.left + 1, r.top + 1);
    g_open.gutter = ScreenPixel(screen, r.left + 1, middle);
    g_open.shadow = ScreenPixel(screen, r.right - 1, middle);
    g_open.shadowBottom = ScreenPixel(screen, (r.left + r.right) / 2, r.bottom - 2);
    ReleaseDC(nullptr, screen);
    g_open.shot = winapp::CaptureScreenPixels();
    EndMenu();
}

// The real popup menu, shown where the cursor is said to be, read while open and closed again.
class ScreenPrompts : public testing::RecordingPrompts {
public:
    void TrackPopup(HMENU popup, UINT flags, POINT at, HWND owner) override {
        RecordingPrompts::TrackPopup(popup, flags, at, owner);
        points.push_back(at);
        g_open = OpenMenu{};
        SetTimer(nullptr, 0, 150, ReadOpenMenu);
        TrackPopupMenu(popup, flags | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr);
    }
    POINT CursorPosition() override { return {60, 60}; }
    std::vector<POINT> points;
};

// Shift+F10 or the context-menu key, as the keyboard gives them to the focused window.
void PressContextKey(bool menuKey) {
    std::vector<INPUT> keys;
    auto key = [&](WORD code, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = code;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        keys.push_back(input);
    };
    if (menuKey) {
        key(VK_APPS, false);
        key(VK_APPS, true);
    } else {
        key(VK_SHIFT, false);
        key(VK_F10, false);
        key(VK_F10, true);
        key(VK_SHIFT, true);
    }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

class MenuHookTest : public testing::ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        // The screen behind the menus, kept to compare the shadow with.
        HDC screen = GetDC(nullptr);
        g_before = CreateCompatibleDC(screen);
        before_ = CreateCompatibleBitmap(screen, 800, 600);
        old_ = SelectObject(g_before, before_);
        BitBlt(g_before, 0, 0, 800, 600, screen, 0, 0, SRCCOPY);
        ReleaseDC(nullptr, screen);
    }
    void TearDown() override {
        SelectObject(g_before, old_);
        DeleteObject(before_);
        DeleteDC(g_before);
        g_before = nullptr;
        ViewerFixture::TearDown();
    }

    void ExpectFramed() const {
        ASSERT_TRUE(g_open.seen) << "no menu window opened";
        EXPECT_TRUE(g_open.subclassed);
        EXPECT_EQ(g_open.knownMenu, nullptr);  // a plain menu of a plain dialog
        EXPECT_EQ(g_open.drawBorder, 1);
        ASSERT_FALSE(menus::IsSystemDropShadowOn());
        HDC screen = GetDC(nullptr);
        const menus::FlatFrameColours colours = menus::FlatFrameColoursOf(
            menus::GetMenuBackgroundColor(nullptr), menus::SystemColoursNow(), menus::DisplayOf(screen));
        ReleaseDC(nullptr, screen);
        const RECT& r = g_open.rect;
        EXPECT_EQ(g_open.outline, colours.outline);
        EXPECT_EQ(g_open.band, colours.frame);
        EXPECT_EQ(g_open.gutter, colours.gutter);
        const int middle = (r.top + r.bottom) / 2;
        EXPECT_EQ(g_open.shadow, menus::Darken(30, ScreenPixel(g_before, r.right - 1, middle)));
        EXPECT_EQ(g_open.shadowBottom, menus::Darken(60, ScreenPixel(g_before, (r.left + r.right) / 2, r.bottom - 2)));
    }

    // Every item whole inside the frame: the frame's inner line unbroken on all four sides (the
    // gutter line on the left), and the last item's text ending above the bottom line with room
    // to spare, descenders included.
    static void ExpectWhole() {
        ASSERT_TRUE(g_open.seen) << "no menu window opened";
        const winapp::ScreenPixels& shot = g_open.shot;
        ASSERT_GT(shot.width, 0);
        HDC screen = GetDC(nullptr);
        const menus::FlatFrameColours colours = menus::FlatFrameColoursOf(
            menus::GetMenuBackgroundColor(nullptr), menus::SystemColoursNow(), menus::DisplayOf(screen));
        ReleaseDC(nullptr, screen);
        const RECT& r = g_open.rect;
        const int right = r.right - 6;  // the inner line: (1, 1, W−5, H−5) with the library's shadow
        const int bottom = r.bottom - 6;
        int broken = 0;
        for (int x = r.left + 1; x <= right; ++x) {
            broken += shot.ColourAt(x, r.top + 1) != colours.frame;
            broken += shot.ColourAt(x, bottom) != colours.frame;
        }
        for (int y = r.top + 2; y < bottom; ++y) {
            broken += shot.ColourAt(right, y) != colours.frame;
            broken += shot.ColourAt(r.left + 1, y) != (y < bottom - 1 ? colours.gutter : colours.frame);
        }
        EXPECT_EQ(broken, 0) << "pixels of the frame's inner line covered";
        const menus::Colour text = GetSysColor(COLOR_MENUTEXT);
        int lowestInk = -1;
        for (int y = r.top + 2; y < bottom; ++y)
            for (int x = r.left + 2; x < right; ++x)
                if (shot.ColourAt(x, y) == text)
                    lowestInk = y;
        ASSERT_NE(lowestInk, -1) << "no text";
        EXPECT_LE(lowestInk, bottom - 3) << "the last item's text reaches the frame";
    }

    ScreenPrompts screenPrompts_;
    HBITMAP before_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

bool IsDayText(const std::string& text) {
    return text.size() == 10 && text[2] == '.' && text[5] == '.' && std::isdigit(static_cast<unsigned char>(text[0]));
}

TEST_F(MenuHookTest, TheDayRowsContextMenuAndTheSystemMenuAreFramedWithAShadow) {
    ASSERT_TRUE(menus::IsMenuHookInstalled());
    folder_.WriteHistory({history::Day(2004, 5, 1), history::Day(2004, 5, 20)});
    dialog_ = std::make_unique<ViewerDialog>(folder_.ProgramPath(), screenPrompts_);
    ASSERT_TRUE(dialog_->Create());
    testing::PumpPending();
    // Open months until a day row shows.
    int day = -1;
    for (int row = RowCount() - 1; row >= 0 && day < 0; --row) {
        for (int r = 0; r < RowCount(); ++r)
            if (IsDayText(Text(r)))
                day = r;
        if (day < 0 && Text(row, 3).find('/') != std::string::npos) {
            SelectRow(row);
            SendMessageA(List(), WM_KEYDOWN, VK_ADD, 1);
        }
    }
    ASSERT_NE(day, -1) << "no day row";
    RightClickRow(day);
    ASSERT_EQ(screenPrompts_.popups.size(), 1u);
    ExpectFramed();

    g_open = OpenMenu{};
    SetTimer(nullptr, 0, 150, ReadOpenMenu);
    TrackPopupMenu(GetSystemMenu(dialog_->hwnd(), FALSE), TPM_RETURNCMD, 60, 60, 0, dialog_->hwnd(), nullptr);
    ExpectFramed();
}

// The year's and a month's context menu: whole inside the frame, and the same from the keyboard
// (Shift+F10, the context-menu key) as from a right click on the selected row, shown below the
// row's label instead of at the cursor.
TEST_F(MenuHookTest, RowMenusShowEveryItemWholeAndOpenFromTheKeyboardAsFromAClick) {
    folder_.WriteHistory({history::Day(2003, 7, 1), history::Day(2004, 5, 1), history::Day(2004, 6, 20)});
    dialog_ = std::make_unique<ViewerDialog>(folder_.ProgramPath(), screenPrompts_);
    ASSERT_TRUE(dialog_->Create());
    ShowWindow(dialog_->hwnd(), SW_SHOW);
    SetForegroundWindow(dialog_->hwnd());
    testing::PumpPending();
    int month = -1;
    for (int r = 0; r < RowCount() && month < 0; ++r)
        if (Text(r, 3).find('/') != std::string::npos)
            month = r;
    ASSERT_NE(month, -1) << "no month row";
    for (const int row : {0, month}) {
        SCOPED_TRACE("row " + Text(row));
        RightClickRow(row);
        ASSERT_EQ(screenPrompts_.popups.size(), 1u);
        ExpectWhole();
        const std::vector<UINT> clickedMenu = screenPrompts_.popups.back();
        const std::string texts[4] = {dialog_->clickedTexts[0], dialog_->clickedTexts[1], dialog_->clickedTexts[2],
                                      dialog_->clickedTexts[3]};
        const int level = dialog_->clickedLevel;
        const int item = dialog_->clickedItem;
        RECT label{};
        label.left = LVIR_LABEL;
        SendMessageA(List(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
        POINT below{label.left, label.bottom};
        ClientToScreen(List(), &below);
        for (const bool menuKey : {false, true}) {
            dialog_->clickedTexts[0].clear();
            dialog_->clickedLevel = dialog_->clickedItem = -1;
            screenPrompts_.popups.clear();
            screenPrompts_.points.clear();
            SelectRow(row);
            SetFocus(List());
            PressContextKey(menuKey);
            for (int i = 0; i < 100 && screenPrompts_.popups.empty(); ++i) {
                testing::PumpPending();
                Sleep(10);
            }
            ASSERT_EQ(screenPrompts_.popups.size(), 1u) << (menuKey ? "context-menu key" : "Shift+F10");
            EXPECT_EQ(screenPrompts_.popups.back(), clickedMenu);
            EXPECT_EQ(screenPrompts_.points.back().x, below.x);
            EXPECT_EQ(screenPrompts_.points.back().y, below.y);
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(dialog_->clickedTexts[i], texts[i]);
            EXPECT_EQ(dialog_->clickedLevel, level);
            EXPECT_EQ(dialog_->clickedItem, item);
        }
        screenPrompts_.popups.clear();
    }
}

}  // namespace
}  // namespace viewer
