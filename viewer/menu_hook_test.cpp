// The viewer with the menu library's hook in force (for every test of this program, as in the
// real viewer): its context menu on a day row and its system menu get the flat frame and shadow.
#include <gtest/gtest.h>

#include <cctype>

#include "menu_colors.h"
#include "menu_system.h"
#include "menu_window.h"
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
    EndMenu();
}

// The real popup menu, shown where the cursor is said to be, read while open and closed again.
class ScreenPrompts : public testing::RecordingPrompts {
public:
    void TrackPopup(HMENU popup, UINT flags, POINT at, HWND owner) override {
        RecordingPrompts::TrackPopup(popup, flags, at, owner);
        g_open = OpenMenu{};
        SetTimer(nullptr, 0, 150, ReadOpenMenu);
        TrackPopupMenu(popup, flags | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr);
    }
    POINT CursorPosition() override { return {60, 60}; }
};

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

}  // namespace
}  // namespace viewer
