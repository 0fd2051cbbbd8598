#include "styled_menu_item_data.h"

#include <vector>

#include "styled_menu.h"

namespace menus {
namespace {

// The accelerator text of one table entry: modifiers, then the key as the platform names it.
std::string AcceleratorText(const ACCEL& entry) {
    std::string text;
    if (entry.fVirt & FALT)
        text += "Alt+";
    if (entry.fVirt & FCONTROL)
        text += "Ctrl+";
    if (entry.fVirt & FSHIFT)
        text += "Shift+";
    if (entry.fVirt & FVIRTKEY) {
        char name[65] = {};
        const LONG scanCode = static_cast<LONG>(MapVirtualKeyA(entry.key, 0) << 16);
        if (GetKeyNameTextA(scanCode, name, 64) > 0)
            text += name;
    } else {
        text += static_cast<char>(entry.key);
    }
    return text;
}

}  // namespace

void CStyledMenuItemData::SetIcon(std::shared_ptr<CStyledMenuIcons> store, int index) {
    iconIndex = store != nullptr ? index : -1;
    iconStore = std::move(store);
}

std::string CStyledMenuItemData::GetString(HACCEL accelerators) const {
    const std::size_t tab = text.find('\t');
    if (accelerators == nullptr)
        return tab == std::string::npos ? text : text.substr(0, tab);
    if (tab != std::string::npos || IsPopup())
        return text;
    HACCEL table = accelerators == kMainFrameAccelerators ? DefaultAcceleratorTable() : accelerators;
    if (table == nullptr)
        return text;
    const int count = CopyAcceleratorTableA(table, nullptr, 0);
    if (count <= 0)
        return text;
    std::vector<ACCEL> entries(static_cast<std::size_t>(count));
    CopyAcceleratorTableA(table, entries.data(), count);
    std::string keys;
    for (const ACCEL& entry : entries) {
        if (entry.cmd != command)
            continue;
        if (!keys.empty())
            keys += ", ";
        keys += AcceleratorText(entry);
    }
    return keys.empty() ? text : text + "\t" + keys;
}

}  // namespace menus
