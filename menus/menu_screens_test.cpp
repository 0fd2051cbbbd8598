// The demo frame on the screen: its popups opened in every style, captured from the screen and
// checked pixel by pixel where the drawing rules fix the colours. The suite runs under a colour
// scheme of its own, in which the window, menu, highlight, grey text and 3D colours all differ,
// and opens its menus over a patterned window, so that a colour in the wrong place or a snapshot
// taken from the wrong place shows. The captures are kept as BMP files in $LUMETRA_MENU_SCREENS
// (when set) for a look.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "demo_frame.h"
#include "demo_resource.h"
#include "dpi.h"
#include "item_drawing.h"
#include "menu_colors.h"
#include "menu_draw.h"
#include "menu_styles.h"
#include "menu_system.h"
#include "menu_window.h"
#include "screen_pixels.h"

namespace menus {
namespace {

// ---- the suite's colour scheme, put back when the suite ends (or the program dies)

struct SchemeEntry {
    int index;
    COLORREF colour;
    COLORREF saved;
};

SchemeEntry g_scheme[] = {
    {COLOR_WINDOW, RGB(250, 246, 228), 0},      {COLOR_MENU, RGB(206, 222, 244), 0},
    {COLOR_MENUBAR, RGB(196, 224, 196), 0},     {COLOR_MENUTEXT, RGB(40, 20, 90), 0},
    {COLOR_HIGHLIGHT, RGB(40, 96, 200), 0},     {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 200), 0},
    {COLOR_GRAYTEXT, RGB(150, 112, 80), 0},     {COLOR_BTNFACE, RGB(228, 214, 196), 0},
    {COLOR_BTNSHADOW, RGB(118, 106, 142), 0},   {COLOR_BTNHIGHLIGHT, RGB(255, 236, 246), 0},
    {COLOR_BTNTEXT, RGB(16, 56, 24), 0},        {COLOR_3DDKSHADOW, RGB(60, 40, 40), 0},
    {COLOR_3DLIGHT, RGB(236, 230, 210), 0},     {COLOR_ACTIVECAPTION, RGB(150, 36, 60), 0},
    {COLOR_CAPTIONTEXT, RGB(255, 226, 110), 0},
};
bool g_schemeSet = false;

void RestoreScheme() {
    if (!g_schemeSet)
        return;
    int indexes[std::size(g_scheme)];
    COLORREF colours[std::size(g_scheme)];
    for (std::size_t i = 0; i < std::size(g_scheme); ++i) {
        indexes[i] = g_scheme[i].index;
        colours[i] = g_scheme[i].saved;
    }
    SetSysColors(static_cast<int>(std::size(g_scheme)), indexes, colours);
    g_schemeSet = false;
}

LONG WINAPI RestoreSchemeOnCrash(EXCEPTION_POINTERS*) {
    RestoreScheme();
    return EXCEPTION_CONTINUE_SEARCH;
}

bool ApplyScheme() {
    int indexes[std::size(g_scheme)];
    COLORREF colours[std::size(g_scheme)];
    for (std::size_t i = 0; i < std::size(g_scheme); ++i) {
        g_scheme[i].saved = GetSysColor(g_scheme[i].index);
        indexes[i] = g_scheme[i].index;
        colours[i] = g_scheme[i].colour;
    }
    SetUnhandledExceptionFilter(RestoreSchemeOnCrash);
    g_schemeSet = SetSysColors(static_cast<int>(std::size(g_scheme)), indexes, colours) != 0;
    return g_schemeSet;
}

// ---- the patterned backdrop: 6-pixel cells in five colours, so that no shift by a few cells
// finds the same colours again

const Colour kCells[] = {RGB(214, 64, 52), RGB(52, 150, 70), RGB(56, 64, 190), RGB(236, 196, 40), RGB(36, 34, 40)};

Colour PatternAt(int x, int y) {
    return kCells[(x / 6 + 2 * (y / 6)) % 5];
}

bool IsPattern(Colour c) {
    return std::find(std::begin(kCells), std::end(kCells), c) != std::end(kCells);
}

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND)
        return 1;
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Colour c = PatternAt(x, y);
            pixels[static_cast<std::size_t>(y) * width + x] = (RedOf(c) << 16) | (GreenOf(c) << 8) | BlueOf(c);
        }
    const BITMAPINFO format = winapp::TopDownBitmapInfo(width, height);
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
    EndPaint(window, &paint);
    return 0;
}

HWND MakePatternWindow(HWND parent) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PatternProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MenuTestPattern";
    RegisterClassA(&windowClass);
    RECT client{};
    GetClientRect(parent, &client);
    return CreateWindowExA(0, "MenuTestPattern", "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom, parent,
                           nullptr, windowClass.hInstance, nullptr);
}

// ---- screen captures

std::string Hex(Colour c) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(c));
    return text;
}

bool Near(Colour a, Colour b, int tolerance) {
    return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
           std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

// A capture of the whole screen.
struct Screen : winapp::ScreenPixels {
    Colour At(int x, int y) const { return ColourAt(x, y); }
    std::string HexAt(int x, int y) const { return Hex(At(x, y)); }

    void Save(const std::string& name) const {
        const char* folder = std::getenv("LUMETRA_MENU_SCREENS");
        if (folder == nullptr || *folder == '\0')
            return;
        const std::string path = std::string(folder) + "\\" + name + ".bmp";
        BITMAPFILEHEADER file{};
        const BITMAPINFOHEADER info = winapp::TopDownBitmapInfo(width, height).bmiHeader;
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
    static_cast<winapp::ScreenPixels&>(shot) = winapp::CaptureScreenPixels();
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

// The pixels in `area` other than `background`, as offsets from the area's top-left corner.
using Ink = std::set<std::pair<int, int>>;

Ink InkOf(const Screen& shot, const RECT& area, Colour background) {
    Ink ink;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (shot.At(x, y) != background)
                ink.insert({x - area.left, y - area.top});
    return ink;
}

// The ink moved so that its top-left pixel is at 0, 0 (for comparing shapes).
Ink Normalised(const Ink& ink) {
    int left = 1 << 20;
    int top = 1 << 20;
    for (const auto& [x, y] : ink) {
        left = std::min(left, x);
        top = std::min(top, y);
    }
    Ink moved;
    for (const auto& [x, y] : ink)
        moved.insert({x - left, y - top});
    return moved;
}

// How much two shapes overlap: 1 for the same shape, 0 for nothing in common.
double Likeness(const Ink& a, const Ink& b) {
    const Ink na = Normalised(a);
    const Ink nb = Normalised(b);
    std::size_t common = 0;
    for (const auto& point : na)
        common += nb.count(point);
    const std::size_t either = na.size() + nb.size() - common;
    return either == 0 ? 1.0 : static_cast<double>(common) / static_cast<double>(either);
}

// A window-menu or check glyph of the "Marlett" font as it looks at `height` pixels, drawn here
// independently of the library: its pixels in the full colour `ink` (smoothed edges left out).
Ink MarlettGlyph(char glyph, int height, Colour ink) {
    const Colour background = ink ^ 0xFFFFFF;
    const int size = height + 8;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, size, size};
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    LOGFONTA logFont{};
    logFont.lfHeight = height;
    logFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(logFont.lfFaceName, "Marlett");
    HFONT font = CreateFontIndirectA(&logFont);
    HGDIOBJ oldFont = SelectObject(memory, font);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, ink);
    TextOutA(memory, 4, 4, &glyph, 1);
    SelectObject(memory, oldFont);
    DeleteObject(font);
    Ink shape;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (GetPixel(memory, x, y) == ink)
                shape.insert({x, y});
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shape;
}

// Which of the check, bullet and window-menu glyphs the ink is most like ('?' for none at all).
char GlyphIn(const Ink& ink, int height, Colour glyphColour) {
    char best = '?';
    double bestLikeness = 0.5;
    for (char glyph : {'b', 'i', '0', '1', '2', 'r'}) {
        const double likeness = Likeness(ink, MarlettGlyph(glyph, height, glyphColour));
        if (likeness > bestLikeness) {
            bestLikeness = likeness;
            best = glyph;
        }
    }
    return best;
}

// Where a text's ink lies when drawn as the items draw it (DrawTextA in `font`, one line,
// vertically centred) in a box `width` wide, left- or right-aligned: its first and last ink
// columns and its last ink row, independently of the library's routines.
struct InkSpan {
    int left = -1;
    int right = -1;
    int bottom = -1;
};
InkSpan ReferenceInk(const char* text, const LOGFONTA& logFont, UINT align, int width, int height) {
    InkSpan span;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    RECT box{0, 0, width, height};
    FillRect(memory, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HFONT font = CreateFontIndirectA(&logFont);
    HGDIOBJ oldFont = SelectObject(memory, font);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, RGB(0, 0, 0));
    DrawTextA(memory, text, -1, &box, align | DT_VCENTER | DT_SINGLELINE);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (GetPixel(memory, x, y) != RGB(255, 255, 255)) {
                span.left = span.left < 0 ? x : std::min(span.left, x);
                span.right = std::max(span.right, x);
                span.bottom = y;
            }
    SelectObject(memory, oldFont);
    DeleteObject(font);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return span;
}

// The same on the screen: the pixels of exactly `colour` in `area`, in screen coordinates.
InkSpan ScreenInk(const Screen& shot, const RECT& area, Colour colour) {
    InkSpan span;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (shot.At(x, y) == colour) {
                span.left = span.left < 0 ? x : std::min(span.left, x);
                span.right = std::max(span.right, x);
                span.bottom = y;
            }
    return span;
}

// An image of an icon store as it draws: its opaque pixels (those that come out alike over black
// and over white) with their colours, by offset from its top-left corner.
std::map<std::pair<int, int>, Colour> StoreImage(HIMAGELIST list, int index) {
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(list, &width, &height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    std::map<std::pair<int, int>, Colour> overBlack;
    std::map<std::pair<int, int>, Colour> image;
    for (int pass = 0; pass < 2; ++pass) {
        RECT all{0, 0, width, height};
        FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(pass == 0 ? BLACK_BRUSH : WHITE_BRUSH)));
        ImageList_Draw(list, index, memory, 0, 0, ILD_TRANSPARENT);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Colour c = GetPixel(memory, x, y);
                if (pass == 0)
                    overBlack[{x, y}] = c;
                else if (overBlack[{x, y}] == c)
                    image[{x, y}] = c;
            }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

// What differs on the screen from `image` placed at (x, y): its opaque pixels in another colour
// and, where `background` is given, any other pixel of `around` that is not the background (a
// shifted or stray drawing).
int IconMisses(const Screen& shot, const std::map<std::pair<int, int>, Colour>& image, int x, int y, const RECT& around,
               const Colour* background) {
    int misses = 0;
    for (const auto& [at, colour] : image)
        misses += shot.At(x + at.first, y + at.second) != colour ? 1 : 0;
    if (background != nullptr)
        for (int row = around.top; row < around.bottom; ++row)
            for (int column = around.left; column < around.right; ++column)
                if (image.count({column - x, row - y}) == 0 && shot.At(column, row) != *background)
                    ++misses;
    return misses;
}

// ---- opening popups

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

// What a popup looked like while open: unselected, then with one item selected.
struct PopupShots {
    Screen before;
    Screen plain;
    Screen selected;
    HWND window = nullptr;
    RECT windowRect{};
    std::vector<RECT> items;  // screen rectangles, while open
    bool subclassed = false;
    struct {
        HMENU menu = nullptr;
        bool drawBorder = false;
        WindowFlags flags;
    } state;
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
    if (!onBar)
        g_drawn[draw->itemData] = rect;
    g_realDraw(menu, draw, onBar);
}

PopupShots* g_shots = nullptr;
std::function<void(HWND)> g_whileOpen;
HWND g_owner = nullptr;
HMENU g_popup = nullptr;
int g_select = -1;
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
            g_shots->state.menu = state->menu;
            g_shots->state.drawBorder = state->drawBorder;
            g_shots->state.flags = state->flags;
        }
        g_shots->plain = Capture();
        if (g_whileOpen)
            g_whileOpen(menuWindow);
        if (g_select < 0) {
            g_phase = 3;
            return;
        }
        // An item highlighted as the keyboard would.
        HiliteMenuItem(g_owner, g_popup, static_cast<UINT>(g_select), MF_BYPOSITION | MF_HILITE);
        g_phase = 1;
    } else if (g_phase < 3) {
        ++g_phase;  // let the selection paint
    } else {
        if (g_select >= 0)
            g_shots->selected = Capture();
        KillTimer(nullptr, timer);
        EndMenu();
    }
}

struct OpenOptions {
    int select = 1;                       // the item to highlight for the second capture; −1 none
    std::function<void(HWND)> whileOpen;  // runs once the popup shows
    std::function<void()> open;           // how to open it, when not as a context menu
};

OpenOptions Selecting(int position) {
    OpenOptions options;
    options.select = position;
    return options;
}

PopupShots OpenPopup(HWND owner, HMENU popup, int x, int y, OpenOptions options = {}) {
    PopupShots shots;
    Pump(100);  // whatever changed on the screen is painted
    shots.before = Capture();
    g_whileOpen = std::move(options.whileOpen);
    g_shots = &shots;
    g_owner = owner;
    g_popup = popup;
    g_select = options.select;
    g_phase = 0;
    g_drawn.clear();
    CStyledMenuStyle* style = ActiveStyle();
    g_realDraw = style->drawItem;
    style->drawItem = RecordingDraw;
    SetTimer(nullptr, 0, 200, PopupTimer);
    if (options.open)
        options.open();
    else if (CStyledMenu* styled = CStyledMenu::FromHandle(popup))
        TrackStyledPopup(*styled, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, x, y, owner);
    else
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, x, y, 0, owner, nullptr);
    g_whileOpen = nullptr;
    style->drawItem = g_realDraw;
    g_shots = nullptr;
    Pump(100);
    return shots;
}

// The positions of the demo's File popup.
constexpr std::size_t kFileTitle = 0;
constexpr std::size_t kFileNew = 1;
constexpr std::size_t kFileOpen = 2;
constexpr std::size_t kFileSave = 3;  // grayed
constexpr std::size_t kFileRecent = 4;
constexpr std::size_t kFileSeparator = 5;
constexpr std::size_t kFileExit = 6;
constexpr std::size_t kFileItems = 7;

class MenuScreens : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        BOOL dropShadow = FALSE;
        SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &dropShadow, 0);
        ASSERT_FALSE(dropShadow) << "the checks expect the library's own shadow";
        ASSERT_TRUE(ApplyScheme());
        ASSERT_TRUE(InstallMenuHook());
        frame_ = std::make_unique<menudemo::DemoFrame>();
        ASSERT_TRUE(frame_->Create());
        SetWindowPos(frame_->hwnd(), nullptr, 30, 30, 560, 600, SWP_NOZORDER);
        pattern_ = MakePatternWindow(frame_->hwnd());
        ASSERT_NE(pattern_, nullptr);
        ShowWindow(frame_->hwnd(), SW_SHOW);
        UpdateWindow(frame_->hwnd());
        SetForegroundWindow(frame_->hwnd());
        Pump(300);
    }
    static void TearDownTestSuite() {
        frame_.reset();
        RemoveMenuHook();
        RestoreScheme();
    }

    static POINT ClientPoint(int x, int y) {
        POINT at{x, y};
        ClientToScreen(frame_->hwnd(), &at);
        return at;
    }

    // A popup of the demo opened over the patterned client area.
    static PopupShots Open(HMENU popup, OpenOptions options = {}) {
        const POINT at = ClientPoint(40, 60);
        return OpenPopup(frame_->hwnd(), popup, at.x, at.y, std::move(options));
    }

    static FlatItemColours FlatColours(HMENU menu) {
        HDC screenDc = GetDC(nullptr);
        const FlatItemColours colours = FlatColoursOf(GetMenuBarColor(menu), SystemColoursNow(), DisplayOf(screenDc));
        ReleaseDC(nullptr, screenDc);
        return colours;
    }

    static std::unique_ptr<menudemo::DemoFrame> frame_;
    static HWND pattern_;
};

std::unique_ptr<menudemo::DemoFrame> MenuScreens::frame_;
HWND MenuScreens::pattern_ = nullptr;

constexpr int kGutterWidth = 16 + 8;  // the menu's icon width + 8

// The frame's colours at the window's edges, and the shadow against the screen behind the menu:
// the flat styles' outline, frame rectangle and gutter line, or the other styles' one line and
// band.
void ExpectFrame(const PopupShots& shots, HMENU knownMenu, bool flat) {
    const RECT& w = shots.windowRect;
    const int width = w.right - w.left;
    const int height = w.bottom - w.top;
    const Screen& shot = shots.plain;
    const int middleY = w.top + height / 2;
    const int middleX = w.left + width / 2;
    HDC screenDc = GetDC(nullptr);
    const Colour menuBack = GetMenuBackgroundColor(knownMenu);
    const FlatFrameColours colours = FlatFrameColoursOf(menuBack, SystemColoursNow(), DisplayOf(screenDc));
    ReleaseDC(nullptr, screenDc);
    const Colour outline = flat ? colours.outline : static_cast<Colour>(GetSysColor(COLOR_HIGHLIGHT));
    // outline: (0, 0, W−4, H−4)
    EXPECT_EQ(shot.HexAt(w.left, middleY), Hex(outline));
    EXPECT_EQ(shot.HexAt(w.right - 5, middleY), Hex(outline));
    EXPECT_EQ(shot.HexAt(middleX, w.top), Hex(outline));
    EXPECT_EQ(shot.HexAt(middleX, w.bottom - 5), Hex(outline));
    if (flat) {
        // the frame rectangle inside it, with the gutter line on its left
        EXPECT_EQ(shot.HexAt(w.left + 1, w.top + 1), Hex(colours.frame));
        EXPECT_EQ(shot.HexAt(middleX, w.bottom - 6), Hex(colours.frame));
        // (its right side lies in the client area, where the system's own items cover it)
        if (CStyledMenu::FromHandle(knownMenu) != nullptr) {
            EXPECT_EQ(shot.HexAt(w.right - 6, middleY), Hex(colours.frame));
        }
        EXPECT_EQ(shot.HexAt(w.left + 1, middleY), Hex(colours.gutter)) << "the gutter line";
    } else {
        EXPECT_EQ(shot.HexAt(w.left + 1, middleY), Hex(menuBack)) << "the band";
    }
    // the shadow: 4 columns on the right and 4 rows at the bottom, darkened from what was behind
    const Screen& behind = shots.before;
    ASSERT_TRUE(IsPattern(behind.At(w.right - 1, middleY)) && IsPattern(behind.At(middleX, w.bottom - 1)))
        << "the menu did not open over the pattern";
    EXPECT_EQ(shot.HexAt(w.right - 1, middleY), Hex(Darken(30, behind.At(w.right - 1, middleY))));
    EXPECT_EQ(shot.HexAt(w.right - 4, middleY), Hex(Darken(120, behind.At(w.right - 4, middleY))));
    EXPECT_EQ(shot.HexAt(w.right - 2, w.top + 30), Hex(Darken(60, behind.At(w.right - 2, w.top + 30))));
    EXPECT_EQ(shot.HexAt(w.right - 1, w.top + 5), Hex(Darken(12, behind.At(w.right - 1, w.top + 5))));
    EXPECT_EQ(shot.HexAt(w.right - 1, w.top + 1), Hex(behind.At(w.right - 1, w.top + 1)));
    EXPECT_EQ(shot.HexAt(middleX, w.bottom - 1), Hex(Darken(30, behind.At(middleX, w.bottom - 1))));
    EXPECT_EQ(shot.HexAt(middleX + 7, w.bottom - 3), Hex(Darken(90, behind.At(middleX + 7, w.bottom - 3))));
    EXPECT_EQ(shot.HexAt(w.left + 2, w.bottom - 1), Hex(behind.At(w.left + 2, w.bottom - 1)));
    // And along their whole length: every row of the right strip and every column of the bottom
    // strip (whose last 4 columns are the right strip's), each pixel as dark as the rule makes it
    // for its place: unchanged for the first 4, fading in over the next 4, fading out over the last.
    auto strength = [](int k, int at, int length) {
        if (at < 4)
            return 0;
        if (at < 8)
            return 6 * k * (at - 3);
        return at < length - 4 ? 30 * k : 6 * k * (length - at);
    };
    auto darkened = [&behind](int x, int y, int amount) {
        const Colour back = behind.At(x, y);
        return amount == 0 ? back : Darken(amount, back);
    };
    int stripMisses = 0;
    std::string firstMiss;
    auto check = [&](int x, int y, int amount) {
        if (shot.At(x, y) == darkened(x, y, amount))
            return;
        if (stripMisses++ == 0)
            firstMiss = "at " + std::to_string(x - w.left) + "," + std::to_string(y - w.top) + ": " + shot.HexAt(x, y) +
                        " not " + Hex(darkened(x, y, amount));
    };
    for (int k = 1; k <= 4; ++k) {
        for (int y = 0; y < height; ++y)
            check(w.right - k, w.top + y, strength(k, y, height));
        for (int x = 0; x < width - 4; ++x)
            check(w.left + x, w.bottom - k, strength(k, x, width));
    }
    EXPECT_EQ(stripMisses, 0) << "the shadow's strips, first " << firstMiss;
}

TEST_F(MenuScreens, TheFlatStyleDrawsGutterTextAreaSeparatorTitleAndSelection) {
    ASSERT_TRUE(frame_->UseStyle(2));
    Pump(100);
    const PopupShots shots = Open(frame_->filePopup(), Selecting(static_cast<int>(kFileNew)));
    shots.plain.Save("style2_file");
    shots.selected.Save("style2_file_selected");
    ASSERT_NE(shots.window, nullptr) << "the popup did not open";
    ASSERT_EQ(shots.items.size(), kFileItems);
    const SystemColours system = SystemColoursNow();
    const FlatItemColours colours = FlatColours(frame_->filePopup());

    // "Open", unselected: gutter, text area and the text's left edge.
    const RECT open = shots.items[kFileOpen];
    const int middle = (open.top + open.bottom) / 2;
    EXPECT_EQ(shots.plain.HexAt(open.left + 1, open.top + 1), Hex(colours.gutterBack));
    EXPECT_EQ(shots.plain.HexAt(open.left + kGutterWidth - 1, open.bottom - 1), Hex(colours.gutterBack));
    EXPECT_EQ(shots.plain.HexAt(open.left + kGutterWidth, open.top + 1), Hex(colours.itemBack));
    EXPECT_EQ(shots.plain.HexAt(open.right - 2, middle), Hex(colours.itemBack));
    const RECT textArea{open.left + kGutterWidth, open.top, open.right - 15, open.bottom};
    const Ink text = Normalised(InkOf(shots.plain, textArea, colours.itemBack));
    ASSERT_FALSE(text.empty());
    int firstInk = 1 << 20;
    for (const auto& [x, y] : InkOf(shots.plain, textArea, colours.itemBack))
        firstInk = std::min(firstInk, x);
    EXPECT_GE(firstInk, 4) << "text starts 4 pixels into the text area";
    EXPECT_LE(firstInk, 4 + 3);

    // The separator: a grey line at its middle from the text area's left edge on.
    const RECT separator = shots.items[kFileSeparator];
    const int line = (separator.top + separator.bottom) / 2;
    EXPECT_EQ(shots.plain.HexAt(separator.left + kGutterWidth + 4, line), Hex(system.grayText));
    EXPECT_EQ(shots.plain.HexAt(separator.right - 1, line), Hex(system.grayText));
    EXPECT_EQ(shots.plain.HexAt(separator.left + kGutterWidth + 3, line), Hex(colours.itemBack));
    EXPECT_EQ(shots.plain.HexAt(separator.left + 2, line), Hex(colours.gutterBack));

    // The title: a gradient from the caption colour on the left to the blend of window and menu on
    // the right, with its text in the caption text colour.
    const RECT title = shots.items[kFileTitle];
    const Colour gradientEnd = Blend86(system.window, GetMenuBackgroundColor(nullptr));
    EXPECT_TRUE(Near(shots.plain.At(title.left, title.bottom - 1), system.activeCaption, 2))
        << shots.plain.HexAt(title.left, title.bottom - 1);
    EXPECT_TRUE(Near(shots.plain.At(title.right - 1, title.bottom - 1), gradientEnd, 6))
        << shots.plain.HexAt(title.right - 1, title.bottom - 1);
    int captionInk = 0;
    for (int y = title.top; y < title.bottom; ++y)
        for (int x = title.left; x < title.left + 60; ++x)
            captionInk += Near(shots.plain.At(x, y), system.captionText, 24) ? 1 : 0;
    EXPECT_GT(captionInk, 20) << "the title's text";

    // "New", selected by the keyboard: filled and framed across gutter and text area.
    const RECT item = shots.items[kFileNew];
    // (its right edge lies under the window's frame)
    EXPECT_EQ(shots.selected.HexAt(item.left, (item.top + item.bottom) / 2), Hex(colours.selectionFrame));
    EXPECT_EQ(shots.selected.HexAt((item.left + item.right) / 2, item.top), Hex(colours.selectionFrame));
    EXPECT_EQ(shots.selected.HexAt((item.left + item.right) / 2, item.bottom - 1), Hex(colours.selectionFrame));
    EXPECT_EQ(shots.selected.HexAt(item.right - 3, item.top + 2), Hex(colours.selectionFill));
    EXPECT_EQ(shots.selected.HexAt(item.left + 1, item.bottom - 2), Hex(colours.selectionFill));
    // and "Open" is back to normal in the second capture
    EXPECT_EQ(shots.selected.HexAt(open.right - 2, middle), Hex(colours.itemBack));
}

// The title's text stands 2 pixels into the title (after the icon's box, here none), or, with the
// centred bit, in the middle of it.
TEST_F(MenuScreens, TheTitleTextStandsAtTheLeftOrCentred) {
    ASSERT_TRUE(frame_->UseStyle(kFlatStyle));
    CStyledMenu* file = CStyledMenu::FromHandle(frame_->filePopup());
    ASSERT_NE(file, nullptr);
    CStyledMenuItemData* title = file->items()[kFileTitle];
    ASSERT_TRUE(title->IsTitle());
    const int original = title->styleBits;
    const SystemColours system = SystemColoursNow();
    struct Span {
        RECT item;
        int left;
        int right;
    };
    auto textOf = [&](int styleBits) {
        title->styleBits = styleBits;
        const PopupShots shots = Open(frame_->filePopup());
        Span span{shots.items.size() > kFileTitle ? shots.items[kFileTitle] : RECT{}, 1 << 20, -1};
        for (int y = span.item.top; y < span.item.bottom; ++y)
            for (int x = span.item.left; x < span.item.right; ++x)
                if (Near(shots.plain.At(x, y), system.captionText, 24)) {
                    span.left = std::min(span.left, x);
                    span.right = std::max(span.right, x);
                }
        return span;
    };
    const Span left = textOf(original);
    const Span centred = textOf(original | kTitleCentred);
    title->styleBits = original;
    ASSERT_GE(left.right, 0) << "no title text";
    ASSERT_GE(centred.right, 0) << "no centred title text";
    EXPECT_GE(left.left - left.item.left, 2) << "the title's text";
    EXPECT_LE(left.left - left.item.left, 2 + 3) << "the title's text not at its left";
    EXPECT_EQ(centred.right - centred.left, left.right - left.left) << "the same text";
    const int margins = (centred.left - centred.item.left) - (centred.item.right - 1 - centred.right);
    EXPECT_LE(std::abs(margins), 4) << "the centred title's text not in the middle: "
                                    << centred.left - centred.item.left << " left, "
                                    << centred.item.right - 1 - centred.right << " right";
}

TEST_F(MenuScreens, AStyledPopupGetsTheFlatFrameAndTheLibrarysShadow) {
    ASSERT_TRUE(frame_->UseStyle(2));
    const PopupShots shots = Open(frame_->filePopup());
    ASSERT_TRUE(shots.subclassed);
    EXPECT_EQ(shots.state.menu, frame_->filePopup());
    EXPECT_TRUE(shots.state.drawBorder);
    EXPECT_TRUE(shots.state.flags.Has(WindowFlag::StyleChanged));  // the style took the system's border away
    ExpectFrame(shots, frame_->filePopup(), true);
}

TEST_F(MenuScreens, APlainContextMenuOfAPlainWindowIsFramedInTheSystemMenuColour) {
    // As the viewer's context menus: a plain menu, owned by a window that notes no popup.
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 1, "&Edit data");
    AppendMenuA(popup, MF_STRING, 2, "&Delete");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup, MF_STRING, 3, "&Restore Backup");
    const POINT at = ClientPoint(300, 60);
    const PopupShots shots = OpenPopup(owner, popup, at.x, at.y);
    shots.plain.Save("plain_context_menu");
    ASSERT_TRUE(shots.subclassed);
    EXPECT_EQ(shots.state.menu, nullptr);
    EXPECT_TRUE(shots.state.drawBorder);
    ExpectFrame(shots, nullptr, true);
    // The background in the system menu colour (the system draws an edge of its own just inside).
    const RECT& w = shots.windowRect;
    EXPECT_EQ(shots.plain.HexAt(w.left + 5, w.top + 5), Hex(GetSysColor(COLOR_MENU)));
    DestroyMenu(popup);
    DestroyWindow(owner);
}

TEST_F(MenuScreens, AMoveKeepsTheFrameAndAMoveWithANewSizeReleasesTheWindow) {
    bool keptAfterMove = false;
    bool snapshotDropped = false;
    bool releasedAfterResize = false;
    bool propertyGone = false;
    OpenOptions options;
    options.whileOpen = [&](HWND menuWindow) {
        RECT rect{};
        GetWindowRect(menuWindow, &rect);
        SetWindowPos(menuWindow, nullptr, rect.left + 7, rect.top + 3, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        MenuWindowState* state = StateOf(menuWindow);
        // (the frame's position rule lifts every placement by a pixel)
        keptAfterMove = state != nullptr && state->x == rect.left + 7 && state->y == rect.top + 2;
        snapshotDropped = state != nullptr && !state->background;
        SetWindowPos(menuWindow, nullptr, rect.left + 20, rect.top + 20, rect.right - rect.left + 30,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        releasedAfterResize = StateOf(menuWindow) == nullptr;
        propertyGone = GetPropA(menuWindow, "OldMenuProc") == nullptr;
    };
    Open(frame_->filePopup(), std::move(options));
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

// The demo's commands and the styled frame's menu handling are one map: the demo's entries first
// (a range of style commands), then the frame's (mnemonics of styled menus).
TEST_F(MenuScreens, TheDemoFramesCommandsComeBeforeTheStyledFramesMenuHandling) {
    HWND window = frame_->hwnd();
    for (int style : {0, 11, 5}) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(ID_STYLE_FIRST + style, 0), 0);
        EXPECT_EQ(ActiveStyle()->id, style);
    }
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(ID_STYLE_FIRST + 12, 0), 0);  // past the range: not a style
    EXPECT_EQ(ActiveStyle()->id, 5);
    const UINT before = GetMenuState(frame_->viewPopup(), ID_VIEW_STATUS, MF_BYCOMMAND) & MF_CHECKED;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(ID_VIEW_STATUS, 1), 0);  // as an accelerator sends it
    EXPECT_NE(GetMenuState(frame_->viewPopup(), ID_VIEW_STATUS, MF_BYCOMMAND) & MF_CHECKED, before);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(ID_VIEW_STATUS, 0), 0);
    EXPECT_EQ(GetMenuState(frame_->viewPopup(), ID_VIEW_STATUS, MF_BYCOMMAND) & MF_CHECKED, before);
    const LRESULT exit =
        SendMessageA(window, WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP), reinterpret_cast<LPARAM>(frame_->filePopup()));
    EXPECT_EQ(exit, MAKELRESULT(kFileExit, MNC_EXECUTE));
    ASSERT_TRUE(frame_->UseStyle(2));
}

// The glyph in an item's gutter where the library centres it (the gutter widened by 2, the icon
// height + 4 high, less 2 on each side), told apart by the shape of its pixels in `colour`.
RECT GlyphBoxOf(const RECT& item) {
    const int boxHeight = 15 + 4;
    const int top = item.top + (item.bottom - item.top - boxHeight) / 2 + 2;
    return RECT{item.left + 2, top, item.left + kGutterWidth - 3, top + boxHeight - 4};  // inside the check box
}

char GlyphOf(const Screen& shot, const RECT& item, Colour colour) {
    const RECT box = GlyphBoxOf(item);
    Ink ink;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (shot.At(x, y) == colour)
                ink.insert({x - box.left, y - box.top});
    return GlyphIn(ink, box.bottom - box.top, colour);
}

// Check marks, radio bullets and window-menu glyphs in each kind of look: each its own glyph, in
// the text colour on an enabled item and in the grey text colour on a disabled one (the demo's
// Restore, while the window is neither minimised nor maximised), never in the other one.
TEST_F(MenuScreens, ChecksRadioBulletsAndWindowGlyphsAreTheirOwnGlyphs) {
    const SystemColours system = SystemColoursNow();
    auto expectGlyph = [&system](const Screen& shot, const RECT& item, char glyph, bool enabled) {
        const Colour colour = enabled ? system.menuText : system.grayText;
        EXPECT_EQ(GlyphOf(shot, item, colour), glyph) << "in " << Hex(colour);
        EXPECT_EQ(ScreenInk(shot, GlyphBoxOf(item), enabled ? system.grayText : system.menuText).left, -1)
            << "a glyph in the " << (enabled ? "disabled" : "enabled") << " colour";
    };
    for (int style : {2, 9, 0}) {
        SCOPED_TRACE("style " + std::to_string(style));
        ASSERT_TRUE(frame_->UseStyle(style));
        const bool flat = style == kFlatStyle || style == kFlatStyleUnframed;
        const bool threeD = style < 8 && !flat;
        const FlatItemColours colours = FlatColours(frame_->viewPopup());

        const PopupShots view = Open(frame_->viewPopup(), Selecting(-1));
        view.plain.Save("style" + std::to_string(style) + "_view");
        ASSERT_EQ(view.items.size(), 6u);  // Status Bar, -, Large, Small, -, Style
        // Checked: a check box with the check mark (in the flat looks in the selection colours);
        // of the radio pair only the checked item shows its bullet.
        const RECT status = view.items[0];
        if (threeD) {
            // sunken: dark on the top and left, light on the bottom and right
            const int middle = (status.top + status.bottom) / 2;
            EXPECT_EQ(view.plain.HexAt(status.left + 1, middle), Hex(system.btnShadow));
            EXPECT_EQ(view.plain.HexAt(status.left + 10, status.top + 1), Hex(system.btnShadow));
            EXPECT_EQ(view.plain.HexAt(status.left + kGutterWidth - 3, middle), Hex(system.btnHighlight));
            EXPECT_EQ(view.plain.HexAt(status.left + 10, status.bottom - 2), Hex(system.btnHighlight));
        } else {
            EXPECT_EQ(view.plain.HexAt(status.left + 1, status.top + 1), Hex(colours.selectionFrame));
            EXPECT_EQ(view.plain.HexAt(status.left + 2, status.top + 2), Hex(colours.selectionFill));
        }
        expectGlyph(view.plain, status, 'b', true);
        expectGlyph(view.plain, view.items[3], 'i', true);
        const RECT large = view.items[2];
        const RECT largeGutter{large.left, large.top, large.left + kGutterWidth, large.bottom};
        if (style < 8) {
            EXPECT_TRUE(InkOf(view.plain, largeGutter, flat ? colours.gutterBack : system.menu).empty());
        }
        EXPECT_EQ(ScreenInk(view.plain, largeGutter, system.menuText).left, -1) << "an unchecked radio item's glyph";

        const PopupShots window = Open(frame_->windowPopup(), Selecting(-1));
        window.plain.Save("style" + std::to_string(style) + "_window");
        ASSERT_EQ(window.items.size(), 5u);  // Restore (disabled), Minimize, Maximize, -, Close
        expectGlyph(window.plain, window.items[0], '2', false);
        expectGlyph(window.plain, window.items[1], '0', true);
        expectGlyph(window.plain, window.items[2], '1', true);
        expectGlyph(window.plain, window.items[4], 'r', true);
        // The system's own glyph numbers come back once the popup is closed.
        EXPECT_EQ(GetMenuItemID(frame_->windowPopup(), 0), 0xF120u);
        EXPECT_EQ(GetMenuItemID(frame_->windowPopup(), 4), 0xF060u);
    }
    ASSERT_TRUE(frame_->UseStyle(2));
}

// The screen's DPI for the checks of scaled sizes; a run meant for another DPI (the high-DPI run,
// LUMETRA_EXPECT_DPI=144) fails unless the screen has it.
UINT TestDpi() {
    const UINT dpi = winapp::ScreenDpi();
    char wanted[16] = {};
    if (GetEnvironmentVariableA("LUMETRA_EXPECT_DPI", wanted, sizeof wanted) > 0) {
        EXPECT_EQ(dpi, static_cast<UINT>(std::atoi(wanted))) << "the screen's DPI";
    }
    return dpi;
}

bool ScaledWithinAPixel(int actual, int pixels, UINT dpi) {
    return std::abs(actual - winapp::Scaled(pixels, dpi)) <= 1;
}

// The length of the run of `colour` from (x, y) rightwards (or downwards).
int RunOf(const Screen& shot, int x, int y, Colour colour, bool down) {
    int length = 0;
    while (x < shot.width && y < shot.height && shot.At(x, y) == colour) {
        ++length;
        (down ? y : x) += 1;
    }
    return length;
}

// At the screen's DPI (96 in the usual run, 144 in the high-DPI one) a popup's rows, its gutter,
// the check box and check mark of a checked item, the frame and the library's shadow are as much
// larger as the DPI says: at 96 a row is 22 pixels high, the gutter 24 wide, the check box 21 by
// 20, the frame 2 and the shadow 4 wide; at 144 each within a pixel of 1.5 times that.
TEST_F(MenuScreens, RowsChecksFrameAndShadowScaleWithTheDpi) {
    const UINT dpi = TestDpi();
    EXPECT_EQ(winapp::DpiOf(frame_->hwnd()), dpi);
    ASSERT_TRUE(frame_->UseStyle(2));
    RECT client{};
    OpenOptions options = Selecting(-1);
    options.whileOpen = [&client](HWND menu) {
        GetClientRect(menu, &client);
        MapWindowPoints(menu, nullptr, reinterpret_cast<POINT*>(&client), 2);
    };
    const PopupShots view = Open(frame_->viewPopup(), options);
    ASSERT_NE(view.window, nullptr) << "the popup did not open";
    ASSERT_EQ(view.items.size(), 6u);  // Status Bar (checked), -, Large, Small, -, Style
    const Screen& shot = view.plain;
    const FlatItemColours colours = FlatColours(frame_->viewPopup());

    const RECT large = view.items[2];
    EXPECT_PRED3(ScaledWithinAPixel, large.bottom - large.top, 22, dpi) << "a row's height";
    const int middle = (large.top + large.bottom) / 2;
    const int gutter = RunOf(shot, large.left, middle, colours.gutterBack, false);
    EXPECT_PRED3(ScaledWithinAPixel, gutter, 24, dpi) << "the gutter's width";
    EXPECT_EQ(shot.HexAt(large.left + gutter, middle), Hex(colours.itemBack));

    // The check box: outlined in the selection frame's colour from its top-left corner.
    const RECT status = view.items[0];
    int left = status.left, top = status.top;
    while (top < status.bottom && shot.At(left + 4, top) != colours.selectionFrame)
        ++top;
    while (left < status.right && shot.At(left, top + 4) != colours.selectionFrame)
        ++left;
    EXPECT_PRED3(ScaledWithinAPixel, left - status.left, 1, dpi);
    EXPECT_PRED3(ScaledWithinAPixel, RunOf(shot, left, top, colours.selectionFrame, false), 21, dpi)
        << "the check box's width";
    EXPECT_PRED3(ScaledWithinAPixel, RunOf(shot, left, top, colours.selectionFrame, true), 20, dpi)
        << "the check box's height";
    // The check mark in it, a Marlett glyph of the scaled glyph box's height (19 less 2 on each side).
    const int boxHeight = winapp::Scaled(15 + 4, dpi);
    const int glyphTop = status.top + (status.bottom - status.top - boxHeight) / 2 + winapp::Scaled(2, dpi);
    const RECT glyphBox{status.left + winapp::Scaled(2, dpi), glyphTop,
                        status.left + winapp::Scaled(kGutterWidth - 3, dpi),
                        glyphTop + boxHeight - 2 * winapp::Scaled(2, dpi)};
    const SystemColours system = SystemColoursNow();
    Ink ink;
    for (int y = glyphBox.top; y < glyphBox.bottom; ++y)
        for (int x = glyphBox.left; x < glyphBox.right; ++x)
            if (shot.At(x, y) == system.menuText)
                ink.insert({x - glyphBox.left, y - glyphBox.top});
    EXPECT_EQ(GlyphIn(ink, glyphBox.bottom - glyphBox.top, system.menuText), 'b') << "the check mark";

    // The frame: from the window's edges to its client area; the shadow in the last columns.
    const RECT& w = view.windowRect;
    // (each side alone within a pixel; both together, which rounding cannot save, within one too)
    EXPECT_PRED3(ScaledWithinAPixel, client.left - w.left, 2, dpi) << "the frame on the left";
    EXPECT_PRED3(ScaledWithinAPixel, client.top - w.top, 2, dpi) << "the frame at the top";
    EXPECT_PRED3(ScaledWithinAPixel, w.right - client.right, 2 + 4, dpi) << "frame and shadow on the right";
    EXPECT_PRED3(ScaledWithinAPixel, w.bottom - client.bottom, 2 + 4, dpi) << "frame and shadow at the bottom";
    EXPECT_PRED3(ScaledWithinAPixel, (client.left - w.left) + (w.right - client.right), 2 + 2 + 4, dpi)
        << "the frame across";
    EXPECT_PRED3(ScaledWithinAPixel, (client.top - w.top) + (w.bottom - client.bottom), 2 + 2 + 4, dpi)
        << "the frame from top to bottom";
    const Screen& behind = view.before;
    const int y = (w.top + w.bottom) / 2;
    int shadow = 0;
    while (shadow < 12 && shot.At(w.right - 1 - shadow, y) != behind.At(w.right - 1 - shadow, y) &&
           shot.At(w.right - 1 - shadow, y) != colours.selectionFrame &&
           Near(shot.At(w.right - 1 - shadow, y),
                Darken(120 * (shadow + 1) / std::max(1, winapp::Scaled(4, dpi)), behind.At(w.right - 1 - shadow, y)),
                2))
        ++shadow;
    EXPECT_PRED3(ScaledWithinAPixel, shadow, 4, dpi) << "the shadow's width";
    EXPECT_EQ(shot.HexAt(w.right - 1, y), Hex(Darken(120 / winapp::Scaled(4, dpi), behind.At(w.right - 1, y))))
        << "the shadow's outer column";
}

// A 3-D box (a bar item's, an icon's frame): one-pixel edges, `topLeft` along its top and left,
// `bottomRight` along its bottom and right, each whole from corner to corner (but for the bottom
// row where an open popup lies over it).
void ExpectBox3D(const Screen& shot, const RECT& item, Colour topLeft, Colour bottomRight, bool popupBelow = false) {
    const int bottom = popupBelow ? item.bottom - 1 : item.bottom;
    int misses = 0;
    for (int x = item.left; x < item.right - 1; ++x) {
        misses += shot.At(x, item.top) != topLeft;
        if (!popupBelow)
            misses += shot.At(x + 1, item.bottom - 1) != bottomRight;
    }
    for (int y = item.top; y < bottom - 1; ++y)
        misses += (shot.At(item.left, y) != topLeft) + (shot.At(item.right - 1, y + 1) != bottomRight);
    EXPECT_EQ(misses, 0) << Hex(topLeft) << " on the top and left, " << Hex(bottomRight)
                         << " on the bottom and right; at the top-left corner " << shot.HexAt(item.left, item.top)
                         << ", at the bottom-right one " << shot.HexAt(item.right - 1, item.bottom - 1);
}

// A bar item drawn hot (as the keyboard selects it with no popup open): in the flat look on the
// bar's colour, its selection box 4 pixels narrower, filled and framed; in the classic look raised
// (light over dark); in the gradient look a sunken gradient.
TEST_F(MenuScreens, AHotBarItemShowsItsSelectionBox) {
    const SystemColours system = SystemColoursNow();
    for (int style : {2, 0, 6}) {
        SCOPED_TRACE("style " + std::to_string(style));
        ASSERT_TRUE(frame_->UseStyle(style));
        Pump(100);
        HMENU bar = frame_->menu().handle();
        RECT item{};
        ASSERT_TRUE(GetMenuItemRect(frame_->hwnd(), bar, 1, &item));  // "View"
        ASSERT_TRUE(HiliteMenuItem(frame_->hwnd(), bar, 1, MF_BYPOSITION | MF_HILITE));
        Pump(200);
        const Screen shot = Capture();
        HiliteMenuItem(frame_->hwnd(), bar, 1, MF_BYPOSITION | MF_UNHILITE);
        DrawMenuBar(frame_->hwnd());
        Pump(100);
        shot.Save("style" + std::to_string(style) + "_bar_hot");
        const int middle = (item.top + item.bottom) / 2;
        if (style == 0) {
            ExpectBox3D(shot, item, system.btnHighlight, system.btnShadow);
            continue;
        }
        if (style == 6) {
            ExpectBox3D(shot, item, system.btnShadow, system.btnHighlight);
            EXPECT_TRUE(Near(shot.At(item.left + 1, middle), system.highlight, 4)) << shot.HexAt(item.left + 1, middle);
            continue;
        }
        const FlatItemColours colours = FlatColours(bar);
        const Colour barColour = GetMenuBarColor(bar);
        EXPECT_EQ(shot.HexAt(item.left, middle), Hex(colours.selectionFrame));
        EXPECT_EQ(shot.HexAt(item.right - 5, middle), Hex(colours.selectionFrame)) << "the box ends 4 pixels early";
        EXPECT_EQ(shot.HexAt(item.left + 3, item.top), Hex(colours.selectionFrame));
        EXPECT_EQ(shot.HexAt(item.left + 3, item.bottom - 1), Hex(colours.selectionFrame));
        EXPECT_EQ(shot.HexAt(item.left + 2, item.top + 2), Hex(colours.selectionFill));
        EXPECT_EQ(shot.HexAt(item.right - 6, item.bottom - 2), Hex(colours.selectionFill));
        for (int k = 1; k <= 4; ++k)
            EXPECT_EQ(shot.HexAt(item.right - k, middle), Hex(barColour)) << "column " << k << " from the right";
        // The other bar items lie on the bar's colour.
        RECT file{};
        ASSERT_TRUE(GetMenuItemRect(frame_->hwnd(), bar, 0, &file));
        EXPECT_EQ(shot.HexAt(file.left + 1, file.top + 1), Hex(barColour));
    }
    ASSERT_TRUE(frame_->UseStyle(2));
}

// The popup of a bar item: the bar item shows its popup as open (in the flat look a darker frame
// with the popup's shadow beside it, and the popup's frame opens towards it; in the classic look
// sunken, dark over light).
TEST_F(MenuScreens, ABarPopupJoinsItsBarItem) {
    for (int style : {2, 0}) {
        SCOPED_TRACE("style " + std::to_string(style));
        ASSERT_TRUE(frame_->UseStyle(style));
        Pump(100);
        HMENU bar = frame_->menu().handle();
        RECT item{};
        ASSERT_TRUE(GetMenuItemRect(frame_->hwnd(), bar, 0, &item));  // "File"
        OpenOptions options;
        options.select = -1;
        options.open = [] { SendMessageA(frame_->hwnd(), WM_SYSCOMMAND, SC_KEYMENU, 'f'); };
        const PopupShots shots = Open(frame_->filePopup(), std::move(options));
        shots.plain.Save("style" + std::to_string(style) + "_bar_open");
        ASSERT_NE(shots.window, nullptr);
        EXPECT_EQ(shots.state.menu, frame_->filePopup());
        if (style == 0) {
            const SystemColours system = SystemColoursNow();
            ASSERT_EQ(shots.windowRect.top, item.bottom - 1) << "the popup's frame on the item's last row";
            ExpectBox3D(shots.plain, item, system.btnShadow, system.btnHighlight, true);
            continue;
        }

        const Colour barColour = GetMenuBarColor(bar);
        const FlatItemColours colours = FlatColours(bar);
        const int middle = (item.top + item.bottom) / 2;
        EXPECT_EQ(shots.plain.HexAt(item.left, middle), Hex(Darken(128, GetMenuBarColor(nullptr))));
        EXPECT_EQ(shots.plain.HexAt(item.left + 2, middle), Hex(colours.gutterBack));  // not hot: no selection colour
        EXPECT_EQ(shots.plain.HexAt(item.right - 1, item.top + 2), Hex(barColour));
        EXPECT_EQ(shots.plain.HexAt(item.right - 1, middle), Hex(Darken(30, barColour)));
        EXPECT_EQ(shots.plain.HexAt(item.right - 4, middle), Hex(Darken(120, barColour)));
        // Where the popup meets the item, its outline gives way to the joint's colour.
        const RECT& w = shots.windowRect;
        if (w.top <= item.bottom && w.top >= item.bottom - 2) {
            const Colour joint = Blend86(GetMenuBarColor(nullptr), GetSysColor(COLOR_WINDOW));
            EXPECT_EQ(shots.plain.HexAt(item.left + 5, w.top), Hex(joint));
        } else {
            ADD_FAILURE() << "the popup does not open below its item";
        }
    }
    ASSERT_TRUE(frame_->UseStyle(2));
}

// The demo's submenu of 17 files: its item is no default item (the system reports a popup's item
// count in the bits where the default flag lies), and the submenu shows all its rows.
TEST_F(MenuScreens, ASubmenuOfManyItemsKeepsItsFlagsAndShowsEveryRow) {
    ASSERT_TRUE(frame_->UseStyle(2));
    HMENU recent = GetSubMenu(frame_->filePopup(), static_cast<int>(kFileRecent));
    ASSERT_NE(CStyledMenu::FromHandle(recent), nullptr);
    EXPECT_EQ(GetMenuDefaultItem(frame_->filePopup(), TRUE, 0), static_cast<UINT>(-1));
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    ASSERT_TRUE(GetMenuItemInfoA(frame_->filePopup(), static_cast<UINT>(kFileRecent), TRUE, &info));
    EXPECT_FALSE(info.fState & MFS_DEFAULT);

    const PopupShots shots = Open(recent, Selecting(ID_FILE_RECENT_COUNT - 1));
    shots.plain.Save("style2_recent");
    shots.selected.Save("style2_recent_selected");
    ASSERT_EQ(shots.items.size(), static_cast<std::size_t>(ID_FILE_RECENT_COUNT));
    const FlatItemColours colours = FlatColours(recent);
    const int rowHeight = shots.items[0].bottom - shots.items[0].top;
    for (std::size_t i = 0; i < shots.items.size(); ++i) {
        const RECT& row = shots.items[i];
        ASSERT_FALSE(IsRectEmpty(&row)) << "row " << i << " not drawn";
        // (the last row's last pixels may lie under the window's frame)
        if (i + 1 < shots.items.size()) {
            EXPECT_EQ(row.bottom - row.top, rowHeight) << "row " << i;
        }
        EXPECT_EQ(shots.plain.HexAt(row.left + 1, row.top + 1), Hex(colours.gutterBack)) << "row " << i;
    }
    const RECT& last = shots.items.back();
    EXPECT_EQ(shots.selected.HexAt(last.right - 3, last.top + 2), Hex(colours.selectionFill));
    ExpectFrame(shots, recent, true);
}

// A plain submenu put into a styled popup after loading: its item is converted with the others and
// measured like them.
TEST_F(MenuScreens, ASubmenuAddedAfterLoadingIsMeasuredLikeItsNeighbours) {
    ASSERT_TRUE(frame_->UseStyle(2));
    CStyledMenu* file = CStyledMenu::FromHandle(frame_->filePopup());
    ASSERT_NE(file, nullptr);
    HMENU later = CreatePopupMenu();
    AppendMenuA(later, MF_STRING, 1901, "&One");
    AppendMenuA(later, MF_STRING, 1902, "&Two");
    ASSERT_TRUE(InsertMenuA(frame_->filePopup(), static_cast<UINT>(kFileExit), MF_BYPOSITION | MF_POPUP,
                            reinterpret_cast<UINT_PTR>(later), "&Later"));
    const PopupShots shots = Open(frame_->filePopup(), Selecting(-1));
    ASSERT_EQ(shots.items.size(), kFileItems + 1);
    const RECT& added = shots.items[kFileExit];
    const RECT& open = shots.items[kFileOpen];
    EXPECT_EQ(added.bottom - added.top, open.bottom - open.top);
    EXPECT_EQ(added.right - added.left, open.right - open.left);

    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(later));
    measure.itemData = reinterpret_cast<ULONG_PTR>(file->items()[kFileExit]);
    EXPECT_TRUE(RouteMeasureItem(frame_->hwnd(), &measure));
    EXPECT_EQ(static_cast<int>(measure.itemHeight), open.bottom - open.top);

    ASSERT_TRUE(file->DeleteMenu(static_cast<UINT>(kFileExit), MF_BYPOSITION));
    file->ConvertMenu();
    EXPECT_EQ(file->items().size(), kFileItems);
}

// Every style draws its own look: the flat ones a gutter and a framed selection, the themed ones
// gradients in gutter and selection, the three-dimensional ones the menu colour with a highlight
// (a gradient one with a sunken edge in styles 6 and 7), the special ones a text of their own; the
// framed styles their frame and shadow, the others none.
// One look's test per style, so that a failure names its style.
class MenuStyleScreens : public MenuScreens, public ::testing::WithParamInterface<int> {
protected:
    void TearDown() override { frame_->UseStyle(kFlatStyle); }
};

TEST_P(MenuStyleScreens, OpensAndDrawsItsOwnLook) {
    const SystemColours system = SystemColoursNow();
    const int style = GetParam();
    Ink exitInk;  // the ink of "Exit", unselected
    {
        ASSERT_TRUE(frame_->UseStyle(style));
        Pump(50);
        // The framed styles highlight "Exit", the others "Open" with its icon (the two draw their
        // items alike).
        const bool exitSelected = style % 2 == 0;
        const PopupShots shots =
            Open(frame_->filePopup(), Selecting(static_cast<int>(exitSelected ? kFileExit : kFileOpen)));
        shots.plain.Save("style" + std::to_string(style) + "_file");
        shots.selected.Save("style" + std::to_string(style) + "_file_selected");
        ASSERT_NE(shots.window, nullptr);
        ASSERT_EQ(shots.items.size(), kFileItems);
        const RECT item = shots.items[kFileExit];
        const int middle = (item.top + item.bottom) / 2;
        const Screen& plain = shots.plain;
        const Screen& selected = shots.selected;
        const bool flat = style == kFlatStyle || style == kFlatStyleUnframed;
        const bool themed = style >= kThemedStyle;
        const bool gradient = style == kGradientStyle || style == kGradientStyleUnframed;
        const RECT label{item.left + kGutterWidth, item.top, item.left + kGutterWidth + 40, item.bottom};  // "Exit"

        if (flat || themed) {
            const FlatItemColours colours = FlatColours(frame_->filePopup());
            exitInk = InkOf(plain, label, colours.itemBack);
            EXPECT_EQ(plain.HexAt(item.left + kGutterWidth, item.top + 1), Hex(colours.itemBack));
            if (exitSelected) {
                EXPECT_EQ(selected.HexAt(item.left, middle), Hex(colours.selectionFrame));
                EXPECT_EQ(selected.HexAt(item.left + 30, item.top), Hex(colours.selectionFrame));
            }
            if (flat) {
                EXPECT_EQ(plain.HexAt(item.left + 1, middle), Hex(colours.gutterBack));
                if (exitSelected) {
                    EXPECT_EQ(selected.HexAt(item.left + 2, middle), Hex(colours.selectionFill));
                    EXPECT_EQ(selected.HexAt(item.right - 3, item.bottom - 2), Hex(colours.selectionFill));
                }
            } else {
                Colour first = 0;
                Colour second = 0;
                GetThemedColors(first, second, false);
                EXPECT_TRUE(Near(plain.At(item.left, middle), second, 2)) << plain.HexAt(item.left, middle);
                EXPECT_TRUE(Near(plain.At(item.left + kGutterWidth - 1, middle), first, 8))
                    << plain.HexAt(item.left + kGutterWidth - 1, middle);
            }
            if (themed && exitSelected) {
                EXPECT_TRUE(Near(selected.At(item.right - 3, item.top + 1), Lighten(100, colours.selectionFill), 8))
                    << selected.HexAt(item.right - 3, item.top + 1);
                EXPECT_TRUE(Near(selected.At(item.right - 3, item.bottom - 2), colours.selectionFill, 8))
                    << selected.HexAt(item.right - 3, item.bottom - 2);
            }
        } else {
            exitInk = InkOf(plain, label, system.menu);
            EXPECT_EQ(plain.HexAt(item.left + 1, middle), Hex(system.menu));
            EXPECT_EQ(plain.HexAt(item.right - 2, middle), Hex(system.menu));
            if (exitSelected && gradient) {
                EXPECT_EQ(selected.HexAt(item.left, middle), Hex(system.btnShadow)) << "sunken edge";
                EXPECT_EQ(selected.HexAt(item.left + 30, item.top), Hex(system.btnShadow)) << "sunken edge";
                EXPECT_TRUE(Near(selected.At(item.left + 1, middle), system.highlight, 4))
                    << selected.HexAt(item.left + 1, middle);
                EXPECT_TRUE(Near(selected.At(item.right - 2, middle), Lighten(110, system.highlight), 8))
                    << selected.HexAt(item.right - 2, middle);
            } else if (exitSelected) {
                EXPECT_EQ(selected.HexAt(item.left + 1, middle), Hex(system.highlight));
                EXPECT_EQ(selected.HexAt(item.right - 2, middle), Hex(system.highlight));
                int highlightText = 0;
                for (const auto& [x, y] : InkOf(selected, label, system.highlight))
                    highlightText += Near(selected.At(label.left + x, label.top + y), system.highlightText, 40) ? 1 : 0;
                EXPECT_GT(highlightText, 5) << "the selected text in the highlight text colour";
            }
        }
        EXPECT_FALSE(exitInk.empty()) << "no text";

        // "Exit" and "Alt+F4" in the text colour: the label exactly at the text area's left edge,
        // the accelerator right-aligned at its margin (15 pixels from the item's edge in the flat
        // looks, 8 in the others), both on one baseline; as the measure rule makes the row high.
        LOGFONTA menuFont{};
        {
            NONCLIENTMETRICSA metrics{};
            metrics.cbSize = 340;
            ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0));
            menuFont = metrics.lfMenuFont;
        }
        if (style == kSpecialStyle || style == kSpecialStyleUnframed) {
            menuFont.lfItalic = TRUE;
            lstrcpyA(menuFont.lfFaceName, "Arial");
            menuFont.lfQuality = NONANTIALIASED_QUALITY;
        }
        const int height = item.bottom - item.top;
        const int textLeft = item.left + (flat || themed ? kGutterWidth + 4 : 16 + 12);
        const int textRight = item.right - (flat || themed ? 15 : 8);
        const InkSpan labelInk = ReferenceInk("E&xit", menuFont, DT_LEFT, 200, height);
        const InkSpan accelerator = ReferenceInk("Alt+F4", menuFont, DT_RIGHT, 200, height);
        const InkSpan shownLabel =
            ScreenInk(plain, RECT{item.left, item.top, (item.left + item.right) / 2, item.bottom}, system.menuText);
        const InkSpan shownAccelerator =
            ScreenInk(plain, RECT{(item.left + item.right) / 2, item.top, item.right, item.bottom}, system.menuText);
        EXPECT_EQ(shownLabel.left, textLeft + labelInk.left) << "the label's left edge";
        EXPECT_EQ(shownAccelerator.right, textRight - 200 + accelerator.right) << "the accelerator's right edge";
        // (the label's mnemonic line lies below the baseline, as in the reference)
        EXPECT_EQ(shownLabel.bottom - shownAccelerator.bottom, labelInk.bottom - accelerator.bottom)
            << "label and accelerator level";
        EXPECT_EQ(shownLabel.bottom, item.top + labelInk.bottom) << "the label vertically centred";
        {
            HDC screenDc = GetDC(nullptr);
            HFONT font = CreateFontIndirectA(&menuFont);
            HGDIOBJ old = SelectObject(screenDc, font);
            SIZE open{};
            GetTextExtentPoint32A(screenDc, "&Open...nnnCtrl+O, F3", 21, &open);
            SelectObject(screenDc, old);
            DeleteObject(font);
            ReleaseDC(nullptr, screenDc);
            // (the rules written out here, so that a changed rule shows on the screen too)
            const int bar = GetSystemMetrics(SM_CYMENU);
            const int iconHeight = 15;
            const int rowHeight = flat || themed ? std::max(iconHeight + 8 >= bar ? iconHeight + 7 : bar, int(open.cy))
                                                 : std::max({bar, iconHeight + (gradient ? 6 : 4), int(open.cy)});
            const RECT& open_ = shots.items[kFileOpen];
            EXPECT_EQ(open_.bottom - open_.top, rowHeight) << "the row height on the screen";
        }

        // The grayed "Save": its text in the grey text colour and nowhere in the enabled one.
        const RECT save = shots.items[kFileSave];
        const RECT saveText{save.left + kGutterWidth, save.top, save.right, save.bottom};
        int grey = 0;
        for (int y = saveText.top; y < saveText.bottom; ++y)
            for (int x = saveText.left; x < saveText.right; ++x)
                grey += plain.At(x, y) == system.grayText ? 1 : 0;
        EXPECT_GT(grey, 10) << "grey text";
        EXPECT_EQ(ScreenInk(plain, saveText, system.menuText).left, -1) << "a grayed item drawn as enabled";
        // In the 3-D looks it is embossed: the 3-D highlight one pixel right of and below the grey
        // (which covers it where they meet); the flat and themed looks have no such light.
        int light = 0;
        int lightBelowGrey = 0;
        for (int y = saveText.top + 1; y < saveText.bottom; ++y)
            for (int x = saveText.left + 1; x < saveText.right; ++x)
                if (plain.At(x, y) == system.btnHighlight) {
                    ++light;
                    lightBelowGrey += plain.At(x - 1, y - 1) == system.grayText ? 1 : 0;
                }
        if (flat || themed) {
            EXPECT_EQ(light, 0) << "an embossed grayed text in a flat look";
        } else {
            EXPECT_GT(light, 10) << "the grayed text not embossed";
            EXPECT_GE(lightBelowGrey * 10, light * 9) << "the emboss's light not right of and below the grey";
        }

        // The icons, each exactly where the rule puts it (3 pixels in, vertically centred) with
        // nothing else in the gutter: an enabled item's faded image in the flat and themed looks,
        // the icon itself in the others, and everywhere the disabled image for the disabled "Save".
        const CStyledMenu* file = CStyledMenu::FromHandle(frame_->filePopup());
        ASSERT_NE(file, nullptr);
        const Colour gutterBack = flat ? FlatColours(frame_->filePopup()).gutterBack : system.menu;
        for (std::size_t position : {kFileNew, kFileOpen, kFileSave}) {
            const CStyledMenuItemData* record = file->items()[position];
            ASSERT_NE(record->iconStore, nullptr);
            const int variant = position == kFileSave ? 2 : flat || themed ? 1 : 0;
            const auto image = StoreImage(record->iconStore->imageList(), record->iconIndex + variant);
            const RECT& row = shots.items[position];
            const RECT gutter{row.left, row.top, row.left + kGutterWidth, row.bottom};
            EXPECT_EQ(IconMisses(plain, image, row.left + 3, row.top + (row.bottom - row.top - 15) / 2, gutter,
                                 themed ? nullptr : &gutterBack),
                      0)
                << "the icon of item " << position;
        }

        // The selected "Open": in the flat and themed looks its icon rises, the image 1 pixel up and
        // left over a shadow of its shape 1 pixel down and right; in the 3-D looks it stays in place
        // in a raised frame (light over dark) around the gutter's icon box.
        if (!exitSelected) {
            const CStyledMenuItemData* record = file->items()[kFileOpen];
            const auto image = StoreImage(record->iconStore->imageList(), record->iconIndex);
            const RECT& row = shots.items[kFileOpen];
            const int x = row.left + 3;
            const int y = row.top + (row.bottom - row.top - 15) / 2;
            if (flat || themed) {
                EXPECT_EQ(IconMisses(selected, image, x - 1, y - 1, row, nullptr), 0) << "the raised icon";
                const Colour shadow = BluishDarken(FlatColours(frame_->filePopup()).selectionFill);
                int misses = 0;
                for (const auto& [at, colour] : image)
                    if (image.count({at.first + 2, at.second + 2}) == 0)  // not under the icon
                        misses += selected.At(x + 1 + at.first, y + 1 + at.second) != shadow;
                EXPECT_EQ(misses, 0) << "the icon's shadow in " << Hex(shadow);
            } else {
                EXPECT_EQ(IconMisses(selected, image, x, y, row, nullptr), 0) << "the selected icon";
                const RECT box{row.left + 1, row.top + 1, row.left + 16 + 6, row.bottom - 1};
                ExpectBox3D(selected, box, system.btnHighlight, system.btnShadow);
            }
        }

        // The separator across its item: in the flat and themed looks one grey line at its middle
        // from the text area on, in the others an etched pair, dark over light, from 1 pixel in.
        const RECT separator = shots.items[kFileSeparator];
        const int line = (separator.top + separator.bottom) / 2;
        const bool etched = !flat && !themed;
        const Colour separatorBack = etched ? system.menu : FlatColours(frame_->filePopup()).itemBack;
        const int lineLeft = separator.left + (etched ? 1 : kGutterWidth + 4);
        std::map<int, Colour> rows;  // what each row of the separator shows from lineLeft on
        if (etched)
            rows = {{line - 1, system.btnShadow}, {line, system.btnHighlight}, {line + 1, system.menu}};
        else
            rows = {{line - 1, separatorBack}, {line, system.grayText}, {line + 1, separatorBack}};
        for (const auto& [y, colour] : rows) {
            int misses = 0;
            for (int x = lineLeft; x < separator.right; ++x)
                misses += plain.At(x, y) != colour ? 1 : 0;
            EXPECT_EQ(misses, 0) << "separator row " << y - line << " not " << Hex(colour);
        }
        EXPECT_EQ(plain.HexAt(lineLeft - 1, etched ? line - 1 : line), Hex(separatorBack)) << "the separator's start";
        EXPECT_EQ(separator.bottom - separator.top, 3);

        const bool framed = style % 2 == 0;
        ASSERT_TRUE(shots.subclassed);
        EXPECT_EQ(shots.state.flags.Has(WindowFlag::StyleChanged), framed);
        if (framed) {
            ExpectFrame(shots, frame_->filePopup(), flat || themed);
        } else {
            // The system's frame: none of the library's lines, and no shadow of its own.
            const RECT& w = shots.windowRect;
            const int y = (w.top + w.bottom) / 2;
            EXPECT_NE(plain.HexAt(w.right - 1, y), Hex(Darken(30, shots.before.At(w.right - 1, y))));
            EXPECT_NE(plain.HexAt(w.left, y), Hex(GetSysColor(COLOR_HIGHLIGHT)));
        }
    }
}

// A checked item with an icon (the first recent file, checked here) shows its icon, and no check
// mark over it: the flat and themed looks its faded image in the check box of the selection
// colours, the 3-D looks the icon itself in a sunken frame.
TEST_P(MenuStyleScreens, ACheckedItemWithAnIconShowsItsIcon) {
    const int style = GetParam();
    ASSERT_TRUE(frame_->UseStyle(style));
    HMENU recent = GetSubMenu(frame_->filePopup(), static_cast<int>(kFileRecent));
    const CStyledMenu* styled = CStyledMenu::FromHandle(recent);
    ASSERT_NE(styled, nullptr);
    struct Checked {
        HMENU menu;
        explicit Checked(HMENU m) : menu(m) { CheckMenuItem(menu, 0, MF_BYPOSITION | MF_CHECKED); }
        ~Checked() { CheckMenuItem(menu, 0, MF_BYPOSITION | MF_UNCHECKED); }
    } checked(recent);
    ASSERT_TRUE(GetMenuState(recent, 0, MF_BYPOSITION) & MF_CHECKED);
    const PopupShots shots = Open(recent, Selecting(-1));
    ASSERT_FALSE(shots.items.empty());
    const CStyledMenuItemData* record = styled->items()[0];
    ASSERT_EQ(record->command, menudemo::kRecentFileWithIcon);
    ASSERT_NE(record->iconStore, nullptr);
    const bool flatOrThemed = style == kFlatStyle || style == kFlatStyleUnframed || style >= kThemedStyle;
    const RECT& row = shots.items[0];
    const auto image = StoreImage(record->iconStore->imageList(), record->iconIndex + (flatOrThemed ? 1 : 0));
    EXPECT_EQ(IconMisses(shots.plain, image, row.left + 3, row.top + (row.bottom - row.top - 15) / 2, row, nullptr), 0)
        << "the checked item's icon";
    if (flatOrThemed) {
        const RECT box = CheckBoxOf(RECT{row.left, row.top, row.left + kGutterWidth, row.bottom});
        EXPECT_EQ(shots.plain.HexAt(box.left + 1, box.top + 1), Hex(FlatColours(recent).selectionFill))
            << "the check box";
    } else {
        const SystemColours system = SystemColoursNow();
        ExpectBox3D(shots.plain, RECT{row.left + 1, row.top + 1, row.left + 16 + 6, row.bottom - 1}, system.btnShadow,
                    system.btnHighlight);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryStyle, MenuStyleScreens, ::testing::Range(0, 12),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Style" + std::to_string(info.param);
                         });

// Framed or not, a look's text is the same; the special styles write it in a font of their own.
TEST_F(MenuScreens, FramedAndUnframedLooksWriteTheirTextAlike) {
    const SystemColours system = SystemColoursNow();
    std::map<int, Ink> labels;  // the ink of "Exit", unselected
    for (int style :
         {kClassicStyle, kClassicStyleUnframed, kSpecialStyle, kSpecialStyleUnframed, kFlatStyle, kThemedStyle}) {
        SCOPED_TRACE("style " + std::to_string(style));
        ASSERT_TRUE(frame_->UseStyle(style));
        Pump(50);
        const bool exitSelected = style % 2 == 0;
        const PopupShots shots =
            Open(frame_->filePopup(), Selecting(static_cast<int>(exitSelected ? kFileExit : kFileOpen)));
        ASSERT_EQ(shots.items.size(), kFileItems);
        const RECT item = shots.items[kFileExit];
        const RECT label{item.left + kGutterWidth, item.top, item.left + kGutterWidth + 40, item.bottom};
        const bool flatOrThemed = style == kFlatStyle || style == kThemedStyle;
        labels[style] =
            InkOf(shots.plain, label, flatOrThemed ? FlatColours(frame_->filePopup()).itemBack : system.menu);
    }
    EXPECT_EQ(labels[kClassicStyle], labels[kClassicStyleUnframed]);
    EXPECT_EQ(labels[kSpecialStyle], labels[kSpecialStyleUnframed]);
    EXPECT_EQ(labels[kFlatStyle], labels[kThemedStyle]);
    EXPECT_NE(labels[kClassicStyle], labels[kSpecialStyle]);
    ASSERT_TRUE(frame_->UseStyle(kFlatStyle));
}

}  // namespace
}  // namespace menus
