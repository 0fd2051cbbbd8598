// The menu model on real menus: conversion and reuse of records, item texts with accelerators,
// mnemonics, the window-menu renumbering and the measure rules.
#include "styled_menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "menu_draw.h"
#include "menu_styles.h"
#include "menu_system.h"
#include "menu_window.h"

namespace menus {
namespace {

class StyledMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProbePlatform();
        RegisterStyles();
        SetActiveStyle(2);
    }
};

HMENU MakeMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "&Alpha");
    AppendMenuA(menu, MF_STRING, 2, "&Beta");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 3, "&Gamma");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
    return menu;
}

CStyledMenuItemData* WithCommand(const CStyledMenu& menu, UINT_PTR command) {
    for (CStyledMenuItemData* record : menu.items())
        if (record->command == command)
            return record;
    return nullptr;
}

TEST_F(StyledMenuTest, LoadingConvertsEveryItemAndWrapsSubmenus) {
    CStyledMenu menu;
    HMENU handle = MakeMenu();
    ASSERT_TRUE(menu.LoadMenu(handle));
    ASSERT_EQ(menu.items().size(), 4u);
    EXPECT_EQ(menu.items()[0]->text, "&Alpha");
    EXPECT_TRUE(menu.items()[2]->IsSeparator());
    EXPECT_TRUE(menu.items()[3]->IsPopup());
    for (UINT position = 0; position < 4; ++position)
        EXPECT_TRUE(GetMenuState(handle, position, MF_BYPOSITION) & MF_OWNERDRAW || position == 3);
    CStyledMenu* sub = CStyledMenu::FromHandle(GetSubMenu(handle, 3));
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->parent(), handle);
    EXPECT_TRUE(sub->isPopup());
    EXPECT_FALSE(menu.isPopup());
    EXPECT_EQ(menu.GetItemText(3, MF_BYCOMMAND), "&Gamma");
    EXPECT_EQ(menu.GetItemText(9, MF_BYCOMMAND), "");

    HMENU subHandle = sub->handle();
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_EQ(CStyledMenu::FromHandle(subHandle), nullptr);
    EXPECT_EQ(CStyledMenu::FromHandle(handle), nullptr);
    EXPECT_FALSE(IsMenu(handle));
}

TEST_F(StyledMenuTest, ReconversionReusesRecordsByCommandAndSubmenuAndDropsRemovedOnes) {
    CStyledMenu menu;
    HMENU handle = MakeMenu();
    ASSERT_TRUE(menu.LoadMenu(handle));
    CStyledMenuItemData* alpha = WithCommand(menu, 1);
    CStyledMenuItemData* more = menu.items()[3];
    ASSERT_NE(alpha, nullptr);
    alpha->styleBits = 0x40;  // per-item data that must survive

    DeleteMenu(handle, 2, MF_BYCOMMAND);
    InsertMenuA(handle, 0, MF_BYPOSITION | MF_STRING, 4, "&Delta");
    menu.ConvertMenu();

    ASSERT_EQ(menu.items().size(), 4u);
    EXPECT_EQ(menu.items()[0]->command, 4u);
    EXPECT_EQ(menu.items()[0]->text, "&Delta");
    EXPECT_EQ(menu.items()[1], alpha);
    EXPECT_EQ(alpha->styleBits, 0x40);
    EXPECT_EQ(alpha->text, "&Alpha");  // an owner-drawn item has no caption: the record keeps its text
    EXPECT_EQ(menu.items()[3], more);
    EXPECT_EQ(WithCommand(menu, 2), nullptr);
    EXPECT_EQ(GetMenuItemCount(handle), static_cast<int>(menu.items().size()));
}

// The record an owner-drawn item carries is its own: a title (an owner-drawn separator with
// command 0) keeps its record and text when the separator above it goes.
TEST_F(StyledMenuTest, OwnerDrawnItemsKeepTheRecordTheyCarry) {
    CStyledMenu menu;
    HMENU handle = CreatePopupMenu();
    AppendMenuA(handle, MF_STRING, 1, "&Alpha");
    AppendMenuA(handle, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(handle, MF_STRING, 2, "&Beta");
    ASSERT_TRUE(menu.LoadMenu(handle));
    CStyledMenuItemDataTitle* title = menu.InsertTitle(2, "Section", 0x4);
    ASSERT_NE(title, nullptr);
    CStyledMenuItemData* beta = menu.items()[3];

    ASSERT_TRUE(DeleteMenu(handle, 1, MF_BYPOSITION));
    menu.ConvertMenu();
    ASSERT_EQ(menu.items().size(), 3u);
    EXPECT_EQ(menu.items()[1], title);
    EXPECT_EQ(menu.items()[1]->text, "Section");
    EXPECT_TRUE(menu.items()[1]->IsTitle());
    EXPECT_EQ(menu.items()[2], beta);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoA(handle, 1, TRUE, &info));
    EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(static_cast<CStyledMenuItemData*>(title)));

    // A plain separator put in later gets a record of its own, not the title's.
    InsertMenuA(handle, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    menu.ConvertMenu();
    ASSERT_EQ(menu.items().size(), 4u);
    EXPECT_FALSE(menu.items()[0]->IsTitle());
    EXPECT_EQ(menu.items()[2], title);

    // A record made for an item stays the item's through the next conversion.
    CStyledMenuItemData* renamed = menu.AddItem(1, MF_BYPOSITION | MF_STRING | MF_OWNERDRAW, 1, "&Renamed");
    EXPECT_NE(std::find(menu.items().begin(), menu.items().end(), renamed), menu.items().end());
    menu.ConvertMenu();
    ASSERT_EQ(menu.items().size(), 4u);
    EXPECT_EQ(menu.items()[1], renamed);
    EXPECT_EQ(menu.items()[1]->text, "&Renamed");
    CStyledMenuItemData* plain = menu.AddItem(3, MF_BYPOSITION | MF_STRING, 2, "&Plain");
    menu.ConvertMenu();
    ASSERT_EQ(menu.items().size(), 4u);
    EXPECT_EQ(menu.items()[3], plain);
    EXPECT_EQ(menu.items()[3]->text, "&Plain");
}

// A submenu deleted with its item is destroyed by the system: its object goes, and its handle
// no longer names a styled menu.
TEST_F(StyledMenuTest, ASubmenuDestroyedWithItsItemLeavesNoObjectBehind) {
    CStyledMenu menu;
    HMENU handle = MakeMenu();
    AppendMenuA(handle, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "&Empty");
    ASSERT_TRUE(menu.LoadMenu(handle));
    HMENU more = GetSubMenu(handle, 3);
    HMENU empty = GetSubMenu(handle, 4);
    ASSERT_NE(CStyledMenu::FromHandle(more), nullptr);
    ASSERT_NE(CStyledMenu::FromHandle(empty), nullptr);

    ASSERT_TRUE(DeleteMenu(handle, 3, MF_BYPOSITION));  // behind the object's back
    ASSERT_FALSE(IsMenu(more));
    EXPECT_EQ(CStyledMenu::FromHandle(more), nullptr);
    menu.ConvertMenu();
    EXPECT_EQ(menu.items().size(), 4u);
    EXPECT_EQ(menu.RecordOf(3), nullptr);  // "&Gamma" went with its submenu
    EXPECT_EQ(menu.GetItemText(3, MF_BYCOMMAND), "");

    ASSERT_TRUE(menu.DeleteMenu(3, MF_BYPOSITION));  // through the object
    EXPECT_EQ(CStyledMenu::FromHandle(empty), nullptr);
    EXPECT_TRUE(menu.DestroyMenu());
}

// The bar brushes go when the hook is removed; a menu that still shows one gets its own
// background back instead of a deleted brush.
TEST_F(StyledMenuTest, RemovingTheHookGivesBarsTheirOwnBackgroundBack) {
    CStyledMenu bar;
    HMENU handle = CreateMenu();
    AppendMenuA(handle, MF_STRING, 1, "&File");
    ASSERT_TRUE(bar.LoadMenu(handle));
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    ASSERT_TRUE(GetMenuInfo(handle, &info));
    const HBRUSH own = info.hbrBack;
    for (int style : {2, 8}) {
        ASSERT_TRUE(SetActiveStyle(style));
        ApplyMenuBarBrush(&bar);
        ASSERT_TRUE(GetMenuInfo(handle, &info));
        EXPECT_NE(info.hbrBack, own) << "style " << style;
    }
    RemoveMenuHook();
    ASSERT_TRUE(GetMenuInfo(handle, &info));
    EXPECT_EQ(info.hbrBack, own);
    EXPECT_TRUE(bar.DestroyMenu());
}

TEST_F(StyledMenuTest, TwoItemsWithOneCommandGetTwoRecords) {
    CStyledMenu menu;
    HMENU handle = CreatePopupMenu();
    AppendMenuA(handle, MF_STRING, 7, "First");
    AppendMenuA(handle, MF_STRING, 7, "Second");
    ASSERT_TRUE(menu.LoadMenu(handle));
    ASSERT_EQ(menu.items().size(), 2u);
    EXPECT_NE(menu.items()[0], menu.items()[1]);
    EXPECT_EQ(menu.items()[1]->text, "Second");
    CStyledMenuItemData* first = menu.items()[0];
    CStyledMenuItemData* second = menu.items()[1];
    menu.ConvertMenu();  // and a second pass keeps both, in order
    EXPECT_EQ(menu.items()[0], first);
    EXPECT_EQ(menu.items()[1], second);
}

TEST_F(StyledMenuTest, AcceleratorTextsFollowTheTable) {
    ACCEL entries[] = {
        {FCONTROL | FVIRTKEY, 'O', 5},
        {FVIRTKEY, VK_F3, 5},
        {FALT | FCONTROL | FSHIFT | FVIRTKEY, 'K', 6},
        {0, 'q', 9},
    };
    HACCEL table = CreateAcceleratorTableA(entries, 4);
    ASSERT_NE(table, nullptr);
    CStyledMenuItemData open(MF_STRING, 5);
    open.SetString("&Open");
    EXPECT_EQ(open.GetString(table), "&Open\tCtrl+O, F3");
    EXPECT_EQ(open.GetString(nullptr), "&Open");
    CStyledMenuItemData all(MF_STRING, 6);
    all.SetString("All");
    EXPECT_EQ(all.GetString(table), "All\tAlt+Ctrl+Shift+K");
    CStyledMenuItemData plain(MF_STRING, 9);
    plain.SetString("Quit");
    EXPECT_EQ(plain.GetString(table), "Quit\tq");
    CStyledMenuItemData none(MF_STRING, 10);
    none.SetString("None");
    EXPECT_EQ(none.GetString(table), "None");

    CStyledMenuItemData tabbed(MF_STRING, 5);
    tabbed.SetString("Open\tCtrl+Z");
    EXPECT_EQ(tabbed.GetString(table), "Open\tCtrl+Z");
    EXPECT_EQ(tabbed.GetString(nullptr), "Open");
    CStyledMenuItemData popup(MF_POPUP, 5);
    popup.SetString("Open");
    EXPECT_EQ(popup.GetString(table), "Open");

    // (HACCEL)−1: the main frame's table, or none at all.
    SetDefaultAcceleratorTable(nullptr);
    EXPECT_EQ(open.GetString(reinterpret_cast<HACCEL>(-1)), "&Open");
    SetDefaultAcceleratorTable(table);
    EXPECT_EQ(open.GetString(reinterpret_cast<HACCEL>(-1)), "&Open\tCtrl+O, F3");
    SetDefaultAcceleratorTable(nullptr);
    DestroyAcceleratorTable(table);
}

TEST_F(StyledMenuTest, PlainStringItemsAddedGetTheirAcceleratorTextInTheMenu) {
    ACCEL entry{FCONTROL | FVIRTKEY, 'N', 11};
    HACCEL table = CreateAcceleratorTableA(&entry, 1);
    CStyledMenu menu;
    HMENU handle = CreatePopupMenu();
    AppendMenuA(handle, MF_STRING, 11, "placeholder");
    ASSERT_TRUE(menu.Attach(handle));
    menu.setAccelerators(table);
    menu.AddItem(0, MF_BYPOSITION | MF_STRING, 11, "&New");
    char text[64] = {};
    GetMenuStringA(handle, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&New\tCtrl+N");
    DestroyAcceleratorTable(table);
}

TEST_F(StyledMenuTest, MnemonicsFindTheFirstItemWithTheAmpersandPattern) {
    CStyledMenu menu;
    HMENU handle = CreatePopupMenu();
    AppendMenuA(handle, MF_STRING, 1, "&File");
    AppendMenuA(handle, MF_STRING, 2, "E&xit");
    AppendMenuA(handle, MF_STRING, 3, "&Open");
    AppendMenuA(handle, MF_STRING, 4, "&Other");
    ASSERT_TRUE(menu.LoadMenu(handle));
    EXPECT_EQ(CStyledMenu::FindMenuMnemonic('x', 0, handle), MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(CStyledMenu::FindMenuMnemonic('X', 0, handle), MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(CStyledMenu::FindMenuMnemonic('o', 0, handle), MAKELRESULT(2, MNC_EXECUTE));
    EXPECT_EQ(CStyledMenu::FindMenuMnemonic('q', 0, handle), 0);
    // An item added behind the menu's back is found after a conversion.
    AppendMenuA(handle, MF_STRING, 5, "&Quit");
    EXPECT_EQ(CStyledMenu::FindMenuMnemonic('q', 0, handle), MAKELRESULT(4, MNC_EXECUTE));
    HMENU plain = CreatePopupMenu();
    AppendMenuA(plain, MF_STRING, 1, "&File");
    EXPECT_EQ(CStyledMenu::FindMenuMnemonic('f', 0, plain), 0);  // not a styled menu
    DestroyMenu(plain);
}

TEST_F(StyledMenuTest, WindowMenuCommandsAreRenumberedWhileTheirPopupIsOpen) {
    ASSERT_EQ(ThePlatform().versionIndex, WindowsVersion::kXPOrLater);
    CStyledMenu menu;
    HMENU handle = CreatePopupMenu();
    AppendMenuA(handle, MF_STRING, 0xF120, "&Restore");
    AppendMenuA(handle, MF_STRING, 0xF020, "Mi&nimize");
    AppendMenuA(handle, MF_STRING, 0xF060, "&Close");
    ASSERT_TRUE(menu.Attach(handle));
    menu.OnPopupInit();
    EXPECT_EQ(GetMenuItemID(handle, 0), 0xF121u);
    EXPECT_EQ(GetMenuItemID(handle, 1), 0xF021u);
    EXPECT_EQ(GetMenuItemID(handle, 2), 0xF061u);
    CStyledMenuItemData* restore = menu.items()[0];
    menu.OnPopupClosed();
    EXPECT_EQ(GetMenuItemID(handle, 0), 0xF120u);
    EXPECT_EQ(GetMenuItemID(handle, 1), 0xF020u);
    EXPECT_EQ(GetMenuItemID(handle, 2), 0xF060u);
    menu.ConvertMenu();
    EXPECT_EQ(menu.items()[0], restore);  // the item kept its record
}

TEST_F(StyledMenuTest, MeasureRulesForSeparatorsTitlesAndBarItems) {
    CStyledMenu bar;
    HMENU handle = CreateMenu();
    AppendMenuA(handle, MF_STRING, 1, "&File");
    AppendMenuA(handle, MF_STRING, 2, "Plain");
    AppendMenuA(handle, MF_SEPARATOR, 0, nullptr);
    ASSERT_TRUE(bar.LoadMenu(handle));
    CStyledMenuItemDataTitle* title = bar.InsertTitle(3, "Side", 0x2);
    ASSERT_NE(title, nullptr);

    auto measure = [&](CStyledMenuItemData* record, UINT id) {
        MEASUREITEMSTRUCT m{};
        m.CtlType = ODT_MENU;
        m.itemID = id;
        m.itemData = reinterpret_cast<ULONG_PTR>(record);
        bar.MeasureItem(&m);
        return m;
    };
    const MEASUREITEMSTRUCT separator = measure(bar.items()[2], 0);
    EXPECT_EQ(separator.itemWidth, 3u);
    EXPECT_EQ(separator.itemHeight, 3u);
    EXPECT_EQ(measure(title, 0).itemHeight, 0u);  // a side bar takes no height

    const MEASUREITEMSTRUCT file = measure(bar.items()[0], 1);
    const MEASUREITEMSTRUCT plain = measure(bar.items()[1], 2);
    HDC screen = GetDC(nullptr);
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = 340;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfMenuFont);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE fileText{};
    SIZE plainText{};
    GetTextExtentPoint32A(screen, "&File", 5, &fileText);
    GetTextExtentPoint32A(screen, "Plain", 5, &plainText);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(static_cast<int>(file.itemWidth), fileText.cx - 6);  // the ampersand's allowance
    EXPECT_EQ(static_cast<int>(plain.itemWidth), plainText.cx);
    EXPECT_GE(static_cast<int>(plain.itemHeight), GetSystemMetrics(SM_CYMENU));
}

TEST_F(StyledMenuTest, StylesAreRegisteredOnceInTheirOrderWithStyleTwoActive) {
    RegisterStyles();  // a second registration adds nothing
    const auto& styles = Styles();
    ASSERT_EQ(styles.size(), 12u);
    const int order[] = {6, 7, 0, 1, 2, 3, 8, 9, 10, 11, 4, 5};
    for (std::size_t i = 0; i < 12; ++i)
        EXPECT_EQ(styles[i]->id, order[i]);
    RegisterStyle(nullptr);
    EXPECT_EQ(Styles().size(), 12u);
    EXPECT_EQ(FindStyle(12), nullptr);
    EXPECT_FALSE(SetActiveStyle(12));
    EXPECT_EQ(ActiveStyle()->id, 2);
    EXPECT_EQ(FindStyle(2)->IsBorderOn(), 1);
    EXPECT_EQ(FindStyle(3)->IsBorderOn(), 0);
    EXPECT_EQ(FindStyle(2)->drawItem, &DrawFlatItem);
    EXPECT_EQ(FindStyle(9)->drawItem, &DrawThemedItem);
    EXPECT_EQ(FindStyle(5)->measureItem, &MeasureClassicItem);
    EXPECT_EQ(FindStyle(7)->measureItem, &MeasureGradientItem);
}

TEST_F(StyledMenuTest, IconStoresAreCountedAndLeaveTheListAtZero) {
    auto store = std::make_shared<CStyledMenuIcons>(16, 15);
    const std::size_t before = CStyledMenuIcons::Stores().size();
    HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    const int index = store->AddIcon(icon);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(ImageList_GetImageCount(store->imageList()), 3);  // normal, faded, disabled
    EXPECT_EQ(store->IconSize().cx, 16);
    EXPECT_EQ(store->IconSize().cy, 15);
    {
        CStyledMenuItemData record(MF_STRING, 1);
        record.SetIcon(store, index);
        EXPECT_EQ(store->refCount(), 2);
        store.reset();  // only the record holds it now
    }
    EXPECT_EQ(CStyledMenuIcons::Stores().size(), before - 1);
}

OSVERSIONINFOA Version(DWORD major, DWORD minor) {
    OSVERSIONINFOA info{};
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    return info;
}

TEST(WindowsVersionIndex, NamesEveryPlatform) {
    const DWORD windows = 0x80000000u;  // the high bit: the Windows (not NT) platform
    EXPECT_EQ(VersionIndexOf(windows | 3, Version(3, 10)), WindowsVersion::kWin32s);  // Win32s
    EXPECT_EQ(VersionIndexOf(windows | 4, Version(4, 0)), WindowsVersion::kWindows95);
    EXPECT_EQ(VersionIndexOf(windows | 4, Version(4, 10)), WindowsVersion::kWindows98);
    EXPECT_EQ(VersionIndexOf(windows | 4, Version(4, 90)), WindowsVersion::kWindowsMe);
    EXPECT_EQ(VersionIndexOf(windows | 4, Version(4, 3)), WindowsVersion::kWindows95);
    EXPECT_EQ(VersionIndexOf(windows | 5, Version(5, 0)), WindowsVersion::kWindows95);
    EXPECT_EQ(VersionIndexOf(3, Version(3, 51)), WindowsVersion::kNT3);
    EXPECT_EQ(VersionIndexOf(4, Version(4, 0)), WindowsVersion::kNT4);
    EXPECT_EQ(VersionIndexOf(5, Version(5, 0)), WindowsVersion::kWindows2000);
    EXPECT_EQ(VersionIndexOf(5, Version(5, 1)), WindowsVersion::kXPOrLater);
    EXPECT_EQ(VersionIndexOf(6, Version(6, 0)), WindowsVersion::kXPOrLater);
    EXPECT_EQ(VersionIndexOf(10, Version(10, 0)), WindowsVersion::kXPOrLater);
}

// The message boxes that ReportLastError shows, noted and closed as they come up.
struct ShownBox {
    HWND window;
    std::string title;
    std::string text;
};
std::vector<ShownBox> g_boxes;
HHOOK g_boxHook = nullptr;

// EnumChildWindows: the text of a static control with one (the box's message).
BOOL CALLBACK NoteStaticText(HWND child, LPARAM found) {
    char name[16] = {};
    char caption[512] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") == 0 && GetWindowTextA(child, caption, sizeof caption) > 0)
        *reinterpret_cast<std::string*>(found) = caption;
    return TRUE;
}

LRESULT CALLBACK NoteAndCloseBox(int code, WPARAM wParam, LPARAM lParam) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char kind[16] = {};
    const bool dialog =
        code == HCBT_ACTIVATE && GetClassNameA(box, kind, sizeof kind) > 0 && lstrcmpA(kind, "#32770") == 0;
    const bool seen = !g_boxes.empty() && g_boxes.back().window == box;  // activated more than once
    if (dialog && !seen) {
        char title[64] = {};
        GetWindowTextA(box, title, sizeof title);
        // The message is the box's one static text (its icon is a static without one).
        std::string text;
        EnumChildWindows(box, NoteStaticText, reinterpret_cast<LPARAM>(&text));
        g_boxes.push_back({box, title, text});
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(g_boxHook, code, wParam, lParam);
}

TEST(ReportLastError, ShowsTheSystemsTextOrNamesTheCodeAndNothingForZero) {
    EXPECT_EQ(LastErrorText(0), "");
    EXPECT_FALSE(LastErrorText(ERROR_FILE_NOT_FOUND).empty());
    EXPECT_EQ(LastErrorText(0x2000FFFF), "Error message 0x2000ffff not found");

    g_boxes.clear();
    g_boxHook = SetWindowsHookExA(WH_CBT, NoteAndCloseBox, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_boxHook, nullptr);
    SetLastError(0);
    ReportLastError();
    const std::size_t afterZero = g_boxes.size();
    SetLastError(0x2000FFFF);
    ReportLastError();
    SetLastError(ERROR_FILE_NOT_FOUND);
    ReportLastError();
    UnhookWindowsHookEx(g_boxHook);
    EXPECT_EQ(afterZero, 0u);
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_boxes[0].title, "Error");
    EXPECT_EQ(g_boxes[0].text, "Error message 0x2000ffff not found");
    EXPECT_EQ(g_boxes[1].title, "Error");
    // (the box may trim the text's closing line break)
    EXPECT_EQ(g_boxes[1].text.substr(0, 10), LastErrorText(ERROR_FILE_NOT_FOUND).substr(0, 10));
}

}  // namespace
}  // namespace menus
