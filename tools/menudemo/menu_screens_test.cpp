// The demo frame on the screen: its popups opened in several styles, captured from the screen
// and checked pixel by pixel where the drawing rules fix the colours. The captures are kept as
// BMP files in $LUMETRA_MENU_SCREENS (when set) for a look.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "demo_frame.h"
#include "demo_resource.h"
#include "menu_colors.h"
#include "menu_styles.h"
#include "menu_system.h"
#include "menu_window.h"

namespace menus {
namespace {

// A capture of the whole screen.
struct Screen {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;  // 0x00RRGGBB, top-down

    Colour At(int x, int y) const {
        const DWORD p = pixels[static_cast<std::size_t>(y * width + x)];
        return MakeColour(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                          static_cast<int>(p & 0xFF));
    }

    void Save(const std::string& name) const {
        const char* folder = std::getenv("LUMETRA_MENU_SCREENS");
        if (folder == nullptr || *folder == '\0')
            return;
        const std::string path = std::string(folder) + "\\" + name + ".bmp";
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = -height;
        info.biPlanes = 1;
        info.biBitCount = 32;
        const DWORD bytes = static_cast<DWORD>(pixels.size() * 4);
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + bytes;
        if (FILE* out = std::fopen(path.c_str(), "wb")) {
            std::fwrite(&file, sizeof file, 1, out);
            std::fwrite(&info, sizeof info, 1, out);
            std::fwrite(pixels.data(), 1, bytes, out);
            std::fclose(out);
        }
    }
};

Screen Capture() {
    Screen shot;
    HDC screen = GetDC(nullptr);
    shot.width = GetDeviceCaps(screen, HORZRES);
    shot.height = GetDeviceCaps(screen, VERTRES);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, shot.width, shot.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = shot.width;
    format.bmiHeader.biHeight = -shot.height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    shot.pixels.resize(static_cast<std::size_t>(shot.width * shot.height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(shot.height), shot.pixels.data(), &format, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

void Pump(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    MSG message;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
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

HWND VisibleMenuWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// What a popup looked like while open: unselected, then with its first item selected.
struct PopupShots {
    Screen before;
    Screen plain;
    Screen selected;
    HWND window = nullptr;
    RECT windowRect{};
    std::vector<RECT> items;  // screen rectangles, while open
    bool subclassed = false;
    MenuWindowState state{};
};

// Where the style drew each item last (screen coordinates), by its record.
std::map<ULONG_PTR, RECT> g_drawn;
DrawRoutine g_realDraw = nullptr;

void RecordingDraw(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar) {
    RECT rect = draw->rcItem;
    if (HWND window = WindowFromDC(draw->hDC)) {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        OffsetRect(&rect, origin.x, origin.y);
    }
    g_drawn[draw->itemData] = rect;
    g_realDraw(menu, draw, onBar);
}

PopupShots* g_shots = nullptr;
std::function<void(HWND)> g_whileOpen;
HWND g_owner = nullptr;
HMENU g_popup = nullptr;
int g_phase = 0;

void CALLBACK PopupTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menuWindow = VisibleMenuWindow();
    if (g_phase == 0) {
        if (menuWindow == nullptr)
            return;  // not open yet
        g_shots->window = menuWindow;
        GetWindowRect(menuWindow, &g_shots->windowRect);
        // The items as far as they show: the system sizes them for its own frame, the style's
        // frame may cover their last pixels.
        RECT client{};
        GetClientRect(menuWindow, &client);
        MapWindowPoints(menuWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);
        const CStyledMenu* styled = CStyledMenu::FromHandle(g_popup);
        for (CStyledMenuItemData* record : styled != nullptr ? styled->items() : std::vector<CStyledMenuItemData*>{}) {
            const auto drawn = g_drawn.find(reinterpret_cast<ULONG_PTR>(record));
            RECT shown{};
            if (drawn != g_drawn.end())
                IntersectRect(&shown, &drawn->second, &client);
            g_shots->items.push_back(shown);
        }
        if (MenuWindowState* state = StateOf(menuWindow)) {
            g_shots->subclassed = true;
            g_shots->state = *state;
        }
        g_shots->plain = Capture();
        if (g_whileOpen)
            g_whileOpen(menuWindow);
        // The first item after the title, highlighted as the keyboard would.
        HiliteMenuItem(g_owner, g_popup, 1, MF_BYPOSITION | MF_HILITE);
        g_phase = 1;
    } else if (g_phase < 3) {
        ++g_phase;  // let the selection paint
    } else {
        g_shots->selected = Capture();
        KillTimer(nullptr, timer);
        EndMenu();
    }
}

PopupShots OpenPopup(HWND owner, HMENU popup, int x, int y, std::function<void(HWND)> whileOpen = {}) {
    PopupShots shots;
    shots.before = Capture();
    g_whileOpen = std::move(whileOpen);
    g_shots = &shots;
    g_owner = owner;
    g_popup = popup;
    g_phase = 0;
    g_drawn.clear();
    CStyledMenuStyle* style = ActiveStyle();
    g_realDraw = style->drawItem;
    style->drawItem = RecordingDraw;
    SetTimer(nullptr, 0, 200, PopupTimer);
    if (CStyledMenu* styled = CStyledMenu::FromHandle(popup))
        TrackStyledPopup(*styled, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, x, y, owner);
    else
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, x, y, 0, owner, nullptr);
    g_whileOpen = nullptr;
    style->drawItem = g_realDraw;
    g_shots = nullptr;
    Pump(100);
    return shots;
}

class MenuScreens : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(InstallMenuHook());
        frame_ = new menudemo::DemoFrame;
        ASSERT_TRUE(frame_->Create());
        SetWindowPos(frame_->hwnd(), nullptr, 30, 30, 480, 360, SWP_NOZORDER);
        ShowWindow(frame_->hwnd(), SW_SHOW);
        UpdateWindow(frame_->hwnd());
        SetForegroundWindow(frame_->hwnd());
        Pump(300);
    }
    static void TearDownTestSuite() {
        delete frame_;
        frame_ = nullptr;
        RemoveMenuHook();
    }

    // The File popup opened over the frame's white client area.
    PopupShots OpenFile() {
        CStyledMenu* file = CStyledMenu::FromHandle(frame_->filePopup());
        POINT at{40, 60};
        ClientToScreen(frame_->hwnd(), &at);
        return OpenPopup(frame_->hwnd(), file->handle(), at.x, at.y);
    }

    static menudemo::DemoFrame* frame_;
};

menudemo::DemoFrame* MenuScreens::frame_ = nullptr;

TEST_F(MenuScreens, TheFlatStyleDrawsGutterTextAreaSeparatorAndSelection) {
    ASSERT_TRUE(frame_->UseStyle(2));
    Pump(100);
    const PopupShots shots = OpenFile();
    shots.plain.Save("style2_file");
    shots.selected.Save("style2_file_selected");
    ASSERT_NE(shots.window, nullptr) << "the popup did not open";
    ASSERT_EQ(shots.items.size(), 6u);  // title, New, Open, Save, separator, Exit

    HDC screenDc = GetDC(nullptr);
    const SystemColours system = SystemColoursNow();
    const Colour menuColor = GetMenuBarColor(frame_->filePopup());
    const FlatItemColours colours = FlatColoursOf(menuColor, system, DisplayOf(screenDc));
    ReleaseDC(nullptr, screenDc);
    const int gutterWidth = 16 + 8;

    // "Open" (position 2), unselected: gutter, text area and the text's left edge.
    const RECT open = shots.items[2];
    const int middle = (open.top + open.bottom) / 2;
    EXPECT_EQ(shots.plain.At(open.left + 1, open.top + 1), colours.gutterBack);
    EXPECT_EQ(shots.plain.At(open.left + gutterWidth - 1, open.bottom - 1), colours.gutterBack);
    EXPECT_EQ(shots.plain.At(open.left + gutterWidth, open.top + 1), colours.itemBack);
    EXPECT_EQ(shots.plain.At(open.right - 2, middle), colours.itemBack);
    int firstInk = -1;
    for (int x = open.left + gutterWidth; x < open.right - 15 && firstInk < 0; ++x)
        for (int y = open.top; y < open.bottom; ++y)
            if (shots.plain.At(x, y) != colours.itemBack) {
                firstInk = x - open.left;
                break;
            }
    EXPECT_GE(firstInk, gutterWidth + 4) << "text starts 4 pixels into the text area";
    EXPECT_LE(firstInk, gutterWidth + 4 + 3);

    // The separator: a grey line at its middle from the text area's left edge on.
    const RECT separator = shots.items[4];
    const int line = (separator.top + separator.bottom) / 2;
    EXPECT_EQ(shots.plain.At(separator.left + gutterWidth + 4, line), system.grayText);
    EXPECT_EQ(shots.plain.At(separator.right - 1, line), system.grayText);
    EXPECT_EQ(shots.plain.At(separator.left + gutterWidth + 3, line), colours.itemBack);
    EXPECT_EQ(shots.plain.At(separator.left + 2, line), colours.gutterBack);

    // "New" (position 1), selected by the keyboard: filled and framed.
    const RECT item = shots.items[1];
    EXPECT_EQ(shots.selected.At(item.left, (item.top + item.bottom) / 2), colours.selectionFrame);
    EXPECT_EQ(shots.selected.At((item.left + item.right) / 2, item.top), colours.selectionFrame);
    EXPECT_EQ(shots.selected.At(item.right - 3, item.top + 2), colours.selectionFill);
    EXPECT_EQ(shots.selected.At(item.left + 2, item.top + 2), colours.selectionFill);
    // and "Open" is back to normal in the second capture
    EXPECT_EQ(shots.selected.At(open.right - 2, middle), colours.itemBack);
}

// The frame's colours at the window's edges and the shadow against the screen behind the menu.
void ExpectFlatFrame(const PopupShots& shots, HMENU knownMenu) {
    const RECT& w = shots.windowRect;
    const int width = w.right - w.left;
    const int height = w.bottom - w.top;
    HDC screenDc = GetDC(nullptr);
    const Colour menuBack = GetMenuBackgroundColor(knownMenu);
    const FlatFrameColours colours = FlatFrameColoursOf(menuBack, SystemColoursNow(), DisplayOf(screenDc));
    ReleaseDC(nullptr, screenDc);
    ASSERT_FALSE(IsSystemDropShadowOn());
    const Screen& shot = shots.plain;
    const int middleY = w.top + height / 2;
    const int middleX = w.left + width / 2;
    // outline: (0, 0, W−4, H−4)
    EXPECT_EQ(shot.At(w.left, middleY), colours.outline);
    EXPECT_EQ(shot.At(w.right - 5, middleY), colours.outline);
    EXPECT_EQ(shot.At(middleX, w.top), colours.outline);
    EXPECT_EQ(shot.At(middleX, w.bottom - 5), colours.outline);
    // the frame rectangle inside it, with the gutter line on its left
    EXPECT_EQ(shot.At(w.left + 1, w.top + 1), colours.frame);
    EXPECT_EQ(shot.At(w.right - 6, middleY), colours.frame);
    EXPECT_EQ(shot.At(w.left + 1, middleY), colours.gutter);
    // the shadow: 4 columns on the right and 4 rows at the bottom, darkened from what was behind
    EXPECT_EQ(shot.At(w.right - 1, middleY), Darken(30, shots.before.At(w.right - 1, middleY)));
    EXPECT_EQ(shot.At(w.right - 4, middleY), Darken(120, shots.before.At(w.right - 4, middleY)));
    EXPECT_EQ(shot.At(w.right - 1, w.top + 5), Darken(12, shots.before.At(w.right - 1, w.top + 5)));
    EXPECT_EQ(shot.At(w.right - 1, w.top + 1), shots.before.At(w.right - 1, w.top + 1));
    EXPECT_EQ(shot.At(middleX, w.bottom - 1), Darken(30, shots.before.At(middleX, w.bottom - 1)));
    EXPECT_EQ(shot.At(middleX, w.bottom - 3), Darken(90, shots.before.At(middleX, w.bottom - 3)));
    EXPECT_EQ(shot.At(w.left + 2, w.bottom - 1), shots.before.At(w.left + 2, w.bottom - 1));
}

TEST_F(MenuScreens, AStyledPopupGetsTheFlatFrameAndTheLibrarysShadow) {
    ASSERT_TRUE(frame_->UseStyle(2));
    const PopupShots shots = OpenFile();
    ASSERT_TRUE(shots.subclassed);
    EXPECT_EQ(shots.state.menu, frame_->filePopup());
    EXPECT_EQ(shots.state.drawBorder, 1);
    EXPECT_EQ(shots.state.flags & 2, 2);  // the style took the system's border away
    ExpectFlatFrame(shots, frame_->filePopup());
}

TEST_F(MenuScreens, APlainContextMenuOfAPlainWindowIsFramedInTheSystemMenuColour) {
    // As the viewer's context menus: a plain menu, owned by a window that notes no popup.
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 1, "&Edit data");
    AppendMenuA(popup, MF_STRING, 2, "&Delete");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup, MF_STRING, 3, "&Restore Backup");
    POINT at{300, 60};
    ClientToScreen(frame_->hwnd(), &at);
    const PopupShots shots = OpenPopup(owner, popup, at.x, at.y);
    shots.plain.Save("plain_context_menu");
    ASSERT_TRUE(shots.subclassed);
    EXPECT_EQ(shots.state.menu, nullptr);
    EXPECT_EQ(shots.state.drawBorder, 1);
    ExpectFlatFrame(shots, nullptr);
    // The background in the system menu colour (the system draws an edge of its own just inside).
    const RECT& w = shots.windowRect;
    EXPECT_EQ(shots.plain.At(w.left + 5, w.top + 5), static_cast<Colour>(GetSysColor(COLOR_MENU)));
    DestroyMenu(popup);
    DestroyWindow(owner);
}

TEST_F(MenuScreens, AMoveKeepsTheFrameAndAMoveWithANewSizeReleasesTheWindow) {
    bool keptAfterMove = false;
    bool snapshotDropped = false;
    bool releasedAfterResize = false;
    bool propertyGone = false;
    auto whileOpen = [&](HWND menuWindow) {
        RECT rect{};
        GetWindowRect(menuWindow, &rect);
        SetWindowPos(menuWindow, nullptr, rect.left + 7, rect.top + 3, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        MenuWindowState* state = StateOf(menuWindow);
        // (the frame's position rule lifts every placement by a pixel)
        keptAfterMove = state != nullptr && state->x == rect.left + 7 && state->y == rect.top + 2;
        snapshotDropped = state != nullptr && state->background == nullptr;
        SetWindowPos(menuWindow, nullptr, rect.left + 20, rect.top + 20, rect.right - rect.left + 30,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        releasedAfterResize = StateOf(menuWindow) == nullptr;
        propertyGone = GetPropA(menuWindow, "OldMenuProc") == nullptr;
    };
    CStyledMenu* file = CStyledMenu::FromHandle(frame_->filePopup());
    POINT at{40, 60};
    ClientToScreen(frame_->hwnd(), &at);
    OpenPopup(frame_->hwnd(), file->handle(), at.x, at.y, whileOpen);
    EXPECT_TRUE(keptAfterMove);
    EXPECT_TRUE(snapshotDropped);
    EXPECT_TRUE(releasedAfterResize);
    EXPECT_TRUE(propertyGone);
}

struct OtherThreadResult {
    bool created = false;
    bool subclassed = false;
};

DWORD WINAPI MakeMenuWindowElsewhere(LPVOID data) {
    auto* result = static_cast<OtherThreadResult*>(data);
    HWND window = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    result->created = window != nullptr;
    result->subclassed = GetPropA(window, "OldMenuProc") != nullptr;
    DestroyWindow(window);
    return 0;
}

TEST_F(MenuScreens, TheHookSubclassesOnlyMenuWindowsOfItsThreadForCodeZero) {
    auto hookCreate = [](int code, HWND window) {
        CWPSTRUCT call{};
        call.hwnd = window;
        call.message = WM_CREATE;
        MenuHookProc(code, 0, reinterpret_cast<LPARAM>(&call));
    };
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const LONG_PTR otherProc = GetWindowLongPtrA(other, GWLP_WNDPROC);
    hookCreate(0, other);
    EXPECT_EQ(StateOf(other), nullptr);
    EXPECT_EQ(GetWindowLongPtrA(other, GWLP_WNDPROC), otherProc);
    DestroyWindow(other);

    // A menu window made here is subclassed by the hook itself on its WM_CREATE.
    HWND menuWindow = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(menuWindow, nullptr);
    EXPECT_NE(StateOf(menuWindow), nullptr);
    UnsubclassMenuWindow(menuWindow);
    EXPECT_EQ(StateOf(menuWindow), nullptr);
    hookCreate(1, menuWindow);  // another code: passed on untouched
    EXPECT_EQ(StateOf(menuWindow), nullptr);
    hookCreate(0, menuWindow);
    EXPECT_NE(StateOf(menuWindow), nullptr);
    DestroyWindow(menuWindow);  // WM_NCDESTROY releases it
    EXPECT_EQ(StateOf(menuWindow), nullptr);

    // Another thread's menu windows are never seen.
    OtherThreadResult result;
    HANDLE thread = CreateThread(nullptr, 0, MakeMenuWindowElsewhere, &result, 0, nullptr);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    EXPECT_TRUE(result.created);
    EXPECT_FALSE(result.subclassed);

    // A second installation adds no second hook and loads no library again: one removal leaves
    // neither the hook nor the image library (which nothing else here loads).
    ASSERT_NE(GetModuleHandleA("msimg32.dll"), nullptr);
    ASSERT_TRUE(InstallMenuHook());
    RemoveMenuHook();
    EXPECT_FALSE(IsMenuHookInstalled());
    EXPECT_EQ(GetModuleHandleA("msimg32.dll"), nullptr);
    HWND unhooked = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetPropA(unhooked, "OldMenuProc"), nullptr);
    DestroyWindow(unhooked);
    ASSERT_TRUE(InstallMenuHook());
    ASSERT_TRUE(frame_->UseStyle(2));
}

// Whether anything but `background` is drawn in the rectangle.
bool HasInk(const Screen& shot, const RECT& area, Colour background) {
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (shot.At(x, y) != background)
                return true;
    return false;
}

TEST_F(MenuScreens, ChecksRadioBulletsAndWindowGlyphsSitInTheGutter) {
    ASSERT_TRUE(frame_->UseStyle(2));
    HDC screenDc = GetDC(nullptr);
    const FlatItemColours colours =
        FlatColoursOf(GetMenuBarColor(frame_->viewPopup()), SystemColoursNow(), DisplayOf(screenDc));
    ReleaseDC(nullptr, screenDc);
    auto gutterOf = [](const RECT& item) { return RECT{item.left + 3, item.top + 3, item.left + 21, item.bottom - 3}; };

    POINT at{40, 60};
    ClientToScreen(frame_->hwnd(), &at);
    const PopupShots view = OpenPopup(frame_->hwnd(), frame_->viewPopup(), at.x, at.y);
    view.plain.Save("style2_view");
    ASSERT_EQ(view.items.size(), 6u);  // Status Bar, -, Large, Small, -, Style
    // Checked: a check box in the selection colours with a glyph; the radio pair: only the
    // checked one shows its bullet.
    const RECT status = view.items[0];
    EXPECT_EQ(view.plain.At(status.left + 1, status.top + 1), colours.selectionFrame);
    EXPECT_EQ(view.plain.At(status.left + 2, status.top + 2), colours.selectionFill);
    EXPECT_TRUE(HasInk(view.plain, gutterOf(status), colours.selectionFill));
    EXPECT_FALSE(HasInk(view.plain, gutterOf(view.items[2]), colours.gutterBack));
    EXPECT_TRUE(HasInk(view.plain, gutterOf(view.items[3]), colours.selectionFill));

    const PopupShots window = OpenPopup(frame_->hwnd(), frame_->windowPopup(), at.x, at.y);
    window.plain.Save("style2_window");
    ASSERT_EQ(window.items.size(), 5u);
    for (std::size_t i : {0u, 1u, 2u, 4u})
        EXPECT_TRUE(HasInk(window.plain, gutterOf(window.items[i]), colours.gutterBack)) << "no glyph for item " << i;
    // The system's own glyph numbers come back once the popup is closed.
    EXPECT_EQ(GetMenuItemID(frame_->windowPopup(), 0), 0xF120u);
    EXPECT_EQ(GetMenuItemID(frame_->windowPopup(), 4), 0xF060u);
}

TEST_F(MenuScreens, EveryStyleOpensAndDrawsItsOwnLook) {
    std::vector<Colour> seen;
    for (int style : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11}) {
        ASSERT_TRUE(frame_->UseStyle(style));
        Pump(50);
        const PopupShots shots = OpenFile();
        shots.selected.Save("style" + std::to_string(style) + "_file_selected");
        ASSERT_NE(shots.window, nullptr) << "style " << style;
        ASSERT_EQ(shots.items.size(), 6u);
        const RECT item = shots.items[1];
        // The selected item is drawn differently from the unselected one in every style.
        const Colour before = shots.plain.At(item.right - 3, item.top + 3);
        const Colour after = shots.selected.At(item.right - 3, item.top + 3);
        EXPECT_NE(before, after) << "style " << style << " shows no selection";
        if (style == 0 || style == 1) {
            EXPECT_EQ(after, static_cast<Colour>(GetSysColor(COLOR_HIGHLIGHT))) << "classic selection";
            EXPECT_EQ(before, static_cast<Colour>(GetSysColor(COLOR_MENU)));
        }
    }
    ASSERT_TRUE(frame_->UseStyle(2));
}

}  // namespace
}  // namespace menus
