// The record that an owner-drawn menu item carries: its text, flags, command and icon.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "menu_colors.h"
#include "styled_menu_icons.h"

namespace menus {

// The accelerator table that stands for the main frame's (whichever it is when the text is made).
inline const HACCEL kMainFrameAccelerators = reinterpret_cast<HACCEL>(-1);

class CStyledMenuItemData {
public:
    CStyledMenuItemData(UINT flags, UINT_PTR command) : itemFlags(flags), command(command) {}
    virtual ~CStyledMenuItemData() = default;
    CStyledMenuItemData(const CStyledMenuItemData&) = delete;
    CStyledMenuItemData& operator=(const CStyledMenuItemData&) = delete;

    // The text shown: without accelerator text when `accelerators` is null; with the table's
    // accelerators for this command after a tab otherwise (kMainFrameAccelerators: the main frame's table).
    virtual std::string GetString(HACCEL accelerators) const;
    virtual void SetString(const std::string& caption) { text = caption; }

    bool IsSeparator() const { return (itemFlags & MF_SEPARATOR) != 0; }
    bool IsPopup() const { return (itemFlags & MF_POPUP) != 0; }
    bool IsTitle() const { return (styleBits & kTitleItem) != 0; }
    // Uses an icon of `store` (shared with it) instead of none; a null store takes the icon away.
    void SetIcon(std::shared_ptr<CStyledMenuIcons> store, int index);

    std::string text;
    int styleBits = 0;  // TitleStyleBit values
    UINT itemFlags;
    UINT_PTR command;  // or the submenu handle of a popup item
    bool claimed = false;
    std::shared_ptr<CStyledMenuIcons> iconStore;
    int iconIndex = -1;
};

class CStyledMenuItemDataTitle : public CStyledMenuItemData {
public:
    using CStyledMenuItemData::CStyledMenuItemData;
    Colour gradientEnd = kDefaultColour;
    Colour captionBack = kDefaultColour;
    Colour captionText = kDefaultColour;
};

}  // namespace menus
