// Owner-drawn menus: a menu object that wraps a platform menu and turns its items into
// owner-drawn items, each carrying a record with its text, flags, command and icon.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "menu_colors.h"
#include "styled_menu_icons.h"
#include "styled_menu_item_data.h"

namespace menus {

class CStyledMenu {
public:
    explicit CStyledMenu(HMENU parent = nullptr);
    virtual ~CStyledMenu();
    CStyledMenu(const CStyledMenu&) = delete;
    CStyledMenu& operator=(const CStyledMenu&) = delete;

    // The menu object that wraps `menu`, or null when it is not a CStyledMenu. A handle that is no
    // longer a menu (the system destroyed it) loses its object here, so that the value, once
    // reused, is never taken for a styled menu.
    static CStyledMenu* FromHandle(HMENU menu);

    HMENU handle() const { return menu_; }
    operator HMENU() const { return menu_; }

    virtual void DrawItem(DRAWITEMSTRUCT* draw);
    virtual void MeasureItem(MEASUREITEMSTRUCT* measure);
    virtual BOOL LoadMenu(UINT id);
    virtual BOOL LoadMenu(LPCSTR name);
    virtual BOOL LoadMenu(HMENU menu);
    virtual BOOL DestroyMenu();
    virtual void DrawTitle(DRAWITEMSTRUCT* draw, bool onBar);
    virtual BOOL EraseMenuBackground(HDC dc, const RECT& area);
    virtual BOOL OnPopupInit();
    virtual BOOL OnPopupClosed();

    // Takes over a menu made elsewhere (the system menu of a window) and converts it.
    bool Attach(HMENU menu);
    HMENU Detach();
    // Lets go of the menu without destroying it, with its records and submenu objects (for a menu
    // that its window destroys, or a submenu that goes with its parent).
    void Release();

    void ConvertMenu();
    // Makes the item at `position` (an index with MF_BYPOSITION, else a command of this menu) carry a
    // new record; the record joins this menu's list in the item's place.
    CStyledMenuItemData* AddItem(UINT position, UINT flags, UINT_PTR command, const std::string& text);
    CStyledMenuItemData* FindItemData(UINT_PTR command);
    // Deletes an item; a submenu that goes with it (the system destroys it) leaves its object too.
    BOOL DeleteMenu(UINT position, UINT flags);
    // Inserts a title item (an owner-drawn separator with its own record) before `position`.
    CStyledMenuItemDataTitle* InsertTitle(UINT position, const std::string& text, int styleBits);
    // The display text of the item at an index (MF_BYPOSITION) or of a command in this menu or
    // its submenus; empty when there is none.
    std::string GetItemText(UINT item, UINT flags) const;
    // The answer to WM_MENUCHAR: MNC_EXECUTE and the position of the first item whose text holds
    // "&" and the character, or 0.
    static LRESULT FindMenuMnemonic(char typed, UINT flags, HMENU menu);

    // The record of a command in this menu or its submenus, depth first; null when none.
    CStyledMenuItemData* RecordOf(UINT_PTR command) const;

    const std::vector<CStyledMenuItemData*>& items() const { return items_; }
    HMENU parent() const { return parent_; }
    void setParent(HMENU parent) { parent_ = parent; }
    bool isPopup() const { return isPopup_; }
    void setPopup(bool popup) { isPopup_ = popup; }
    HWND owner() const { return owner_; }
    void setOwner(HWND owner) { owner_ = owner; }
    int iconWidth() const { return iconWidth_; }
    int iconHeight() const { return iconHeight_; }
    void setIconSize(int width, int height) {
        iconWidth_ = width;
        iconHeight_ = height;
    }
    HACCEL accelerators() const { return accelerators_; }
    void setAccelerators(HACCEL table) { accelerators_ = table; }
    HIMAGELIST checkImages() const { return checkImages_; }
    int checkImageCounter(int which) const { return which == 0 ? checkCounterSelected_ : checkCounterAlways_; }

    // The menu bar's noted hot item (screen coordinates) and count of open popups.
    RECT& lastHotBarItem() { return lastHotBarItem_; }
    int& openPopups() { return openPopups_; }

private:
    // Creates a record and changes the item at `position` to use it (AddItem without the list).
    std::unique_ptr<CStyledMenuItemData> MakeItem(UINT position, UINT flags, UINT_PTR command, const std::string& text);
    // Takes `record` into the list at `index` (or at the end); returns it.
    CStyledMenuItemData* Adopt(std::size_t index, std::unique_ptr<CStyledMenuItemData> record);
    // Makes `kept` (records of the list or of `made`) the list, in its order; the others go.
    void KeepRecords(const std::vector<CStyledMenuItemData*>& kept,
                     std::vector<std::unique_ptr<CStyledMenuItemData>>& made);
    // The record that the owner-drawn item at `position` carries, when it is one of this menu's.
    CStyledMenuItemData* CarriedRecord(UINT position) const;
    // An unclaimed record of a plain separator (a title's record stays with its title).
    CStyledMenuItemData* FindSeparatorData();
    void FreeRecords();
    // Deletes the menu objects of the owned submenus, last first.
    void DeleteSubmenuObjects();
    // Lets go of the objects of owned submenus that the system has destroyed.
    void ReleaseDeadSubmenus();

    HMENU menu_ = nullptr;
    // The item records in menu order. The menu owns them; each item carries its record's address
    // as its item data, which the system hands back in every measure and draw request.
    std::vector<std::unique_ptr<CStyledMenuItemData>> records_;
    std::vector<CStyledMenuItemData*> items_;             // the same records, as the list that callers read
    std::vector<std::unique_ptr<CStyledMenu>> submenus_;  // the objects of the submenus this menu loaded
    int iconWidth_ = 16;
    int iconHeight_ = 15;
    HWND owner_ = nullptr;
    Colour colour_ = kDefaultColour;
    HIMAGELIST checkImages_ = nullptr;
    bool checkImagesShared_ = false;
    int checkCounterSelected_ = -1;
    int checkCounterAlways_ = -1;
    HMENU parent_ = nullptr;
    bool isPopup_ = true;
    RECT lastHotBarItem_{};
    int openPopups_ = 0;
    HACCEL accelerators_ = kMainFrameAccelerators;
};

// The accelerator table that kMainFrameAccelerators stands for: the main frame's; null when there is none.
HACCEL DefaultAcceleratorTable();
void SetDefaultAcceleratorTable(HACCEL table);

// The menu-bar item that the frame's tracking drew hot last; null when none.
CStyledMenuItemData*& HotBarItem();

// How far the redraw of a hot bar item reaches beyond it, to the right and downwards: the popup's
// joint and shadow.
constexpr int kHotBarItemReach = 10;

// Redraws a menu bar's hot item `hot` (screen coordinates), grown by kHotBarItemReach to the right
// and downwards for the popup's joint, in the frame of `window`.
void RedrawHotBarItem(HWND window, RECT hot);

// Whether `menu` is a live menu handle.
bool IsLiveMenu(HMENU menu);

}  // namespace menus
