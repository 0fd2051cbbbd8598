#include "styled_menu.h"

#include <algorithm>
#include <map>
#include <memory>

#include "gdi.h"
#include "menu_draw.h"
#include "menu_styles.h"
#include "menu_system.h"

namespace menus {
namespace {

std::map<HMENU, CStyledMenu*>& MenuObjects() {
    static std::map<HMENU, CStyledMenu*> objects;
    return objects;
}

HACCEL& DefaultTable() {
    static HACCEL table = nullptr;
    return table;
}

// The caption of the item at `position`; empty when it has none (owner-drawn items have none).
std::string CaptionAt(HMENU menu, UINT position) {
    const int length = GetMenuStringA(menu, position, nullptr, 0, MF_BYPOSITION);
    if (length < 1)
        return {};
    std::string buffer(static_cast<std::size_t>(2 * length + 2), '\0');
    const int read = GetMenuStringA(menu, position, &buffer[0], static_cast<int>(buffer.size()), MF_BYPOSITION);
    buffer.resize(static_cast<std::size_t>(std::max(read, 0)));
    return buffer;
}

std::string Lowered(std::string text) {
    if (!text.empty())
        CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace

HACCEL DefaultAcceleratorTable() {
    return DefaultTable();
}

void SetDefaultAcceleratorTable(HACCEL table) {
    DefaultTable() = table;
}

CStyledMenuItemData*& HotBarItem() {
    static CStyledMenuItemData* item = nullptr;
    return item;
}

bool IsLiveMenu(HMENU menu) {
    return menu != nullptr && IsMenu(menu);
}

// ---- the menu

CStyledMenu::CStyledMenu(HMENU parent) : parent_(parent) {}

CStyledMenu::~CStyledMenu() {
    if (menu_ != nullptr)
        DestroyMenu();
    FreeRecords();
}

CStyledMenu* CStyledMenu::FromHandle(HMENU menu) {
    if (menu == nullptr)
        return nullptr;
    auto& objects = MenuObjects();
    const auto found = objects.find(menu);
    if (found == objects.end())
        return nullptr;
    if (!IsMenu(menu)) {
        // Destroyed by the system (a submenu deleted with its item): the object, owned by its
        // parent, goes at the parent's next conversion or with the parent.
        objects.erase(found);
        return nullptr;
    }
    return found->second;
}

bool CStyledMenu::Attach(HMENU menu) {
    if (menu_ != nullptr || !IsLiveMenu(menu) || FromHandle(menu) != nullptr)
        return false;
    menu_ = menu;
    MenuObjects()[menu] = this;
    return true;
}

HMENU CStyledMenu::Detach() {
    HMENU menu = menu_;
    auto& objects = MenuObjects();
    const auto found = objects.find(menu);
    // (A dead handle may be registered to another object by now.)
    if (found != objects.end() && found->second == this)
        objects.erase(found);
    menu_ = nullptr;
    return menu;
}

BOOL CStyledMenu::LoadMenu(UINT id) {
    return LoadMenu(MAKEINTRESOURCEA(id));
}

BOOL CStyledMenu::LoadMenu(LPCSTR name) {
    HMENU menu = ::LoadMenuA(GetModuleHandleA(nullptr), name);
    if (menu == nullptr)
        return FALSE;
    if (!LoadMenu(menu)) {
        ::DestroyMenu(menu);
        return FALSE;
    }
    return TRUE;
}

BOOL CStyledMenu::LoadMenu(HMENU menu) {
    if (!Attach(menu))
        return FALSE;
    isPopup_ = false;
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        HMENU submenu = GetSubMenu(menu, position);
        if (submenu == nullptr)
            continue;
        submenus_.push_back(std::make_unique<CStyledMenu>(menu));
        CStyledMenu* child = submenus_.back().get();
        child->LoadMenu(submenu);
        child->isPopup_ = true;
    }
    ConvertMenu();
    return TRUE;
}

void CStyledMenu::FreeRecords() {
    items_.clear();
    while (!records_.empty())
        records_.pop_back();  // last first
}

CStyledMenuItemData* CStyledMenu::Adopt(std::size_t index, std::unique_ptr<CStyledMenuItemData> record) {
    CStyledMenuItemData* adopted = record.get();
    index = std::min(index, records_.size());
    records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(index), std::move(record));
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), adopted);
    return adopted;
}

void CStyledMenu::KeepRecords(const std::vector<CStyledMenuItemData*>& kept,
                              std::vector<std::unique_ptr<CStyledMenuItemData>>& made) {
    std::vector<std::unique_ptr<CStyledMenuItemData>> records;
    auto take = [](std::vector<std::unique_ptr<CStyledMenuItemData>>& from, CStyledMenuItemData* record) {
        const auto found =
            std::find_if(from.begin(), from.end(), [record](const auto& r) { return r.get() == record; });
        return found != from.end() ? std::move(*found) : nullptr;
    };
    for (CStyledMenuItemData* record : kept) {
        std::unique_ptr<CStyledMenuItemData> owned = take(records_, record);
        records.push_back(owned != nullptr ? std::move(owned) : take(made, record));
    }
    items_ = kept;
    records_ = std::move(records);  // the records left out go here
}

void CStyledMenu::DeleteSubmenuObjects() {
    for (auto child = submenus_.rbegin(); child != submenus_.rend(); ++child) {
        (*child)->Release();
        child->reset();
    }
    submenus_.clear();
}

void CStyledMenu::ReleaseDeadSubmenus() {
    for (auto child = submenus_.begin(); child != submenus_.end();) {
        if (FromHandle((*child)->menu_) == child->get()) {
            ++child;
            continue;
        }
        (*child)->Release();
        child = submenus_.erase(child);
    }
}

void CStyledMenu::Release() {
    DeleteSubmenuObjects();
    FreeRecords();
    Detach();
}

BOOL CStyledMenu::DestroyMenu() {
    DeleteSubmenuObjects();
    FreeRecords();
    if (checkImages_ != nullptr && !checkImagesShared_)
        ImageList_Destroy(checkImages_);
    checkImages_ = nullptr;
    // Only a menu still alive and ours is destroyed: a dead handle's value may be another's now.
    const bool alive = FromHandle(menu_) == this;
    HMENU menu = Detach();
    return alive && ::DestroyMenu(menu);
}

BOOL CStyledMenu::DeleteMenu(UINT position, UINT flags) {
    if (menu_ == nullptr || !::DeleteMenu(menu_, position, flags))
        return FALSE;
    ReleaseDeadSubmenus();
    return TRUE;
}

CStyledMenuItemData* CStyledMenu::FindItemData(UINT_PTR command) {
    for (CStyledMenuItemData* record : items_) {
        if (record->command == command && !record->claimed) {
            record->claimed = true;
            return record;
        }
    }
    return nullptr;
}

CStyledMenuItemDataTitle* CStyledMenu::InsertTitle(UINT position, const std::string& text, int styleBits) {
    auto title = std::make_unique<CStyledMenuItemDataTitle>(MF_SEPARATOR | MF_OWNERDRAW | MF_BYPOSITION, 0);
    title->SetString(text);
    title->styleBits = styleBits | kTitleItem;
    if (menu_ == nullptr || !InsertMenuA(menu_, position, title->itemFlags, 0,
                                         reinterpret_cast<LPCSTR>(static_cast<CStyledMenuItemData*>(title.get())))) {
        ReportLastError();
        return nullptr;
    }
    CStyledMenuItemDataTitle* inserted = title.get();
    Adopt(position, std::move(title));
    return inserted;
}

CStyledMenuItemData* CStyledMenu::RecordOf(UINT_PTR command) const {
    for (CStyledMenuItemData* record : items_)
        if (record->command == command)
            return record;
    for (const auto& owned : submenus_) {
        const CStyledMenu* child = owned.get();
        if (FromHandle(child->menu_) != child)
            continue;
        if (CStyledMenuItemData* record = child->RecordOf(command))
            return record;
    }
    return nullptr;
}

std::unique_ptr<CStyledMenuItemData> CStyledMenu::MakeItem(UINT position, UINT flags, UINT_PTR command,
                                                           const std::string& text) {
    auto record = std::make_unique<CStyledMenuItemData>(flags, command);
    record->SetString(text);
    if (flags & MF_POPUP) {
        if (CStyledMenu* submenu = FromHandle(reinterpret_cast<HMENU>(command)))
            submenu->parent_ = menu_;
    }
    BOOL changed;
    if (flags & MF_OWNERDRAW)
        changed = ModifyMenuA(menu_, position, flags, command, reinterpret_cast<LPCSTR>(record.get()));
    else if (flags & MF_BITMAP)
        changed = ModifyMenuA(menu_, position, flags, command, reinterpret_cast<LPCSTR>(command));
    else if (flags & MF_SEPARATOR)
        changed = ModifyMenuA(menu_, position, flags, command, nullptr);
    else
        changed = ModifyMenuA(menu_, position, flags, command,
                              record->GetString(kShowAcceleratorText ? accelerators_ : nullptr).c_str());
    if (!changed)
        ReportLastError();
    return record;
}

CStyledMenuItemData* CStyledMenu::AddItem(UINT position, UINT flags, UINT_PTR command, const std::string& text) {
    // The item's index in this menu: the record goes before the item's old one, so that the next
    // conversion finds the fresh record first (and frees the old one).
    std::size_t index = items_.size();
    if (flags & MF_BYPOSITION) {
        index = std::min<std::size_t>(position, items_.size());
    } else if (menu_ != nullptr) {
        const int count = GetMenuItemCount(menu_);
        for (int at = 0; at < count; ++at) {
            if (GetMenuItemID(menu_, at) == position) {
                index = std::min<std::size_t>(static_cast<std::size_t>(at), items_.size());
                break;
            }
        }
    }
    return Adopt(index, MakeItem(position, flags, command, text));
}

CStyledMenuItemData* CStyledMenu::CarriedRecord(UINT position) const {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    if (!GetMenuItemInfoA(menu_, position, TRUE, &info) || !(info.fType & MFT_OWNERDRAW))
        return nullptr;
    auto* record = reinterpret_cast<CStyledMenuItemData*>(info.dwItemData);
    return std::find(items_.begin(), items_.end(), record) != items_.end() ? record : nullptr;
}

namespace {

bool IsOwnerDrawn(HMENU menu, UINT position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoA(menu, position, TRUE, &info) && (info.fType & MFT_OWNERDRAW) != 0;
}

// The caption of an item as its text: an owner-drawn item has none (some systems keep the string
// it had before it was made owner-drawn; its record's text is the item's text).
std::string CaptionOf(HMENU menu, UINT position) {
    return IsOwnerDrawn(menu, position) ? std::string() : CaptionAt(menu, position);
}

}  // namespace

CStyledMenuItemData* CStyledMenu::FindSeparatorData() {
    for (CStyledMenuItemData* record : items_) {
        if (record->command == 0 && !record->claimed && !record->IsTitle()) {
            record->claimed = true;
            return record;
        }
    }
    return nullptr;
}

void CStyledMenu::ConvertMenu() {
    if (menu_ == nullptr)
        return;
    ReleaseDeadSubmenus();
    for (CStyledMenuItemData* record : items_)
        record->claimed = false;
    // An owner-drawn item keeps the record it carries, whatever its command: an owner-drawn
    // separator's command 0 would match any separator's or title's record. Claimed first, so that
    // no item before it takes that record by its command.
    std::vector<CStyledMenuItemData*> carried(static_cast<std::size_t>(std::max(GetMenuItemCount(menu_), 0)));
    for (std::size_t position = 0; position < carried.size(); ++position) {
        CStyledMenuItemData* record = CarriedRecord(static_cast<UINT>(position));
        if (record != nullptr && !record->claimed) {
            record->claimed = true;
            carried[position] = record;
        }
    }
    auto carriedAt = [&carried](UINT position) { return position < carried.size() ? carried[position] : nullptr; };
    std::vector<CStyledMenuItemData*> converted;
    std::vector<std::unique_ptr<CStyledMenuItemData>> made;  // the records this pass creates
    auto make = [&made](std::unique_ptr<CStyledMenuItemData> record) {
        made.push_back(std::move(record));
        return made.back().get();
    };
    for (int position = 0; position < GetMenuItemCount(menu_); ++position) {
        const UINT at = static_cast<UINT>(position);
        const UINT state = GetMenuState(menu_, at, MF_BYPOSITION);
        if (state == static_cast<UINT>(-1))
            break;
        CStyledMenuItemData* record = carriedAt(at);
        if (state & MF_BITMAP) {
            const UINT_PTR command = GetMenuItemID(menu_, position);
            if (record == nullptr)
                record = FindItemData(command);
            if (record == nullptr)
                record = make(std::make_unique<CStyledMenuItemData>(state, command));
            converted.push_back(record);
        } else if (state & MF_POPUP) {
            HMENU submenu = GetSubMenu(menu_, position);
            const UINT_PTR command = reinterpret_cast<UINT_PTR>(submenu);
            const std::string caption = CaptionOf(menu_, at);
            if (record == nullptr)
                record = FindItemData(command);
            if (record != nullptr) {
                record->command = command;
                if (!caption.empty())
                    record->SetString(caption);
            } else {
                // A popup's state holds the submenu's item count in its high byte: only the low
                // byte is flags (16 items would read as MF_DEFAULT).
                record = make(MakeItem(at, (state & 0xFF) | MF_POPUP | MF_OWNERDRAW | MF_BYPOSITION, command, caption));
            }
            if (CStyledMenu* child = FromHandle(submenu))
                child->parent_ = menu_;
            converted.push_back(record);
        } else {
            const UINT flags = state | MF_OWNERDRAW | MF_BYPOSITION;
            const bool separator = (state & MF_SEPARATOR) != 0;
            const UINT_PTR command = separator ? 0 : GetMenuItemID(menu_, position);
            const std::string caption = separator ? std::string() : CaptionOf(menu_, at);
            if (record == nullptr)
                record = separator ? FindSeparatorData() : FindItemData(command);
            if (record != nullptr) {
                record->itemFlags = flags;
                record->command = command;
                if (!caption.empty())
                    record->SetString(caption);
                if (!ModifyMenuA(menu_, at, flags, command, reinterpret_cast<LPCSTR>(record)))
                    ReportLastError();
            } else {
                record = make(MakeItem(at, flags, command, caption));
            }
            converted.push_back(record);
        }
    }
    // Records still carried by items that the pass did not reach stay with the menu.
    for (CStyledMenuItemData* record : carried)
        if (record != nullptr && std::find(converted.begin(), converted.end(), record) == converted.end())
            converted.push_back(record);
    KeepRecords(converted, made);
}

std::string CStyledMenu::GetItemText(UINT item, UINT flags) const {
    HACCEL table = kShowAcceleratorText ? accelerators_ : nullptr;
    if (flags & MF_BYPOSITION) {
        if (item >= items_.size())
            return {};
        return items_[item]->GetString(table);
    }
    for (CStyledMenuItemData* record : items_)
        if (record->command == item && !record->IsPopup())
            return record->GetString(table);
    for (const auto& owned : submenus_) {
        const CStyledMenu* child = owned.get();
        if (FromHandle(child->menu_) != child)
            continue;
        const std::string text = child->GetItemText(item, flags);
        if (!text.empty())
            return text;
    }
    return {};
}

LRESULT CStyledMenu::FindMenuMnemonic(char typed, UINT, HMENU menu) {
    CStyledMenu* styled = FromHandle(menu);
    if (styled == nullptr)
        return 0;
    const std::string pattern = Lowered(std::string{'&', typed});
    if (GetMenuItemCount(menu) != static_cast<int>(styled->items_.size()))
        styled->ConvertMenu();
    for (std::size_t position = 0; position < styled->items_.size(); ++position) {
        const std::string text = Lowered(styled->GetItemText(static_cast<UINT>(position), MF_BYPOSITION));
        if (text.find(pattern) != std::string::npos)
            return MAKELRESULT(position, MNC_EXECUTE);
    }
    return 0;
}

void CStyledMenu::DrawItem(DRAWITEMSTRUCT* draw) {
    const bool onBar = parent_ != nullptr ? false : !isPopup_;
    if (!isPopup_ && HotBarItem() == reinterpret_cast<CStyledMenuItemData*>(draw->itemData) &&
        !(draw->itemState & ODS_HOTLIGHT))
        HotBarItem() = nullptr;
    if (CStyledMenuStyle* style = ActiveStyle())
        style->drawItem(this, draw, onBar);
}

void CStyledMenu::MeasureItem(MEASUREITEMSTRUCT* measure) {
    CStyledMenuItemData* record = RecordOf(measure->itemID);
    CStyledMenu* parentMenu = FromHandle(parent_);
    bool onBar;
    if (record != nullptr)
        onBar = parent_ == nullptr && !isPopup_;
    else
        onBar = (parent_ == nullptr && !isPopup_) || (parentMenu != nullptr && !parentMenu->isPopup_);
    if (!onBar && parent_ != nullptr && record == nullptr && parentMenu != nullptr) {
        parentMenu->MeasureItem(measure);
        return;
    }
    if (CStyledMenuStyle* style = ActiveStyle())
        style->measureItem(this, measure, onBar);
}

void CStyledMenu::DrawTitle(DRAWITEMSTRUCT* draw, bool onBar) {
    if (CStyledMenuStyle* style = ActiveStyle())
        style->drawTitle(this, draw, onBar);
}

BOOL CStyledMenu::EraseMenuBackground(HDC dc, const RECT& area) {
    const winapp::Brush brush(CreateSolidBrush(GetMenuBackgroundColor(menu_)));
    FillRect(dc, &area, brush.get());
    return TRUE;
}

namespace {

// The window menu's commands that the system would draw a glyph of its own for, and their
// stand-ins while a popup is open.
const UINT kRenumbered[3][2] = {{SC_RESTORE, SC_RESTORE + 1}, {SC_CLOSE, SC_CLOSE + 1}, {SC_MINIMIZE, SC_MINIMIZE + 1}};

bool Renumber(HMENU menu, CStyledMenu& styled, UINT from, UINT to) {
    CStyledMenuItemData* record = nullptr;
    for (CStyledMenuItemData* candidate : styled.items())
        if (candidate->command == from)
            record = candidate;
    if (record == nullptr)
        return false;
    const UINT flags = (record->itemFlags & ~static_cast<UINT>(MF_BYPOSITION)) | MF_OWNERDRAW;
    if (!ModifyMenuA(menu, from, flags | MF_BYCOMMAND, to, reinterpret_cast<LPCSTR>(record)))
        return false;
    record->command = to;
    return true;
}

}  // namespace

BOOL CStyledMenu::OnPopupInit() {
    isPopup_ = true;
    ConvertMenu();
    if (ThePlatform().versionIndex == WindowsVersion::kXPOrLater) {
        for (const auto& pair : kRenumbered)
            Renumber(menu_, *this, pair[0], pair[1]);
    }
    return TRUE;
}

BOOL CStyledMenu::OnPopupClosed() {
    if (ThePlatform().versionIndex == WindowsVersion::kXPOrLater) {
        Renumber(menu_, *this, SC_MINIMIZE + 1, SC_MINIMIZE);
        Renumber(menu_, *this, SC_RESTORE + 1, SC_RESTORE);
        if (Renumber(menu_, *this, SC_CLOSE + 1, SC_CLOSE) && owner_ != nullptr)
            SetWindowPos(owner_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    }
    CStyledMenu* bar = FromHandle(parent_);
    if (bar == nullptr)
        return FALSE;
    --bar->openPopups_;
    if (bar->isPopup_)
        return FALSE;
    bar->openPopups_ = 0;
    if (IsRectEmpty(&bar->lastHotBarItem_))
        return TRUE;
    if (owner_ == nullptr)
        return FALSE;
    RedrawHotBarItem(owner_, bar->lastHotBarItem_);
    return TRUE;
}

void RedrawHotBarItem(HWND window, RECT hot) {
    hot.right += kHotBarItemReach;
    hot.bottom += kHotBarItemReach;
    POINT corners[2] = {{hot.left, hot.top}, {hot.right, hot.bottom}};
    ScreenToClient(window, &corners[0]);
    ScreenToClient(window, &corners[1]);
    const RECT area{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    RedrawWindow(window, &area, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

}  // namespace menus
