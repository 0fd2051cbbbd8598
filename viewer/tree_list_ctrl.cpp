#include "tree_list_ctrl.h"

#include <windowsx.h>

#include <algorithm>

#include "resource.h"
#include "resources.h"

namespace viewer {

int SmallImagesBitmapFor(int size) {
    switch (size) {
        case 20:
            return IDB_SMALL_IMAGES_20;
        case 24:
            return IDB_SMALL_IMAGES_24;
        case 32:
            return IDB_SMALL_IMAGES_32;
        default:
            return IDB_SMALL_IMAGES;
    }
}

int ExpandBoxesBitmapFor(int size) {
    switch (size) {
        case 20:
            return IDB_EXPAND_BOXES_20;
        case 24:
            return IDB_EXPAND_BOXES_24;
        case 32:
            return IDB_EXPAND_BOXES_32;
        default:
            return TreeListCtrl::kStateImagesBitmap;
    }
}

winapp::ImageList LoadSmallImages(UINT dpi, int& size) {
    size = winapp::SmallIconSizeFor(dpi);
    return winapp::LoadImageList(winapp::ResourceInstance(), SmallImagesBitmapFor(size), size, 1, RGB(255, 0, 255));
}

const winapp::MessageMap<TreeListCtrl> TreeListCtrl::kMessages = {
    winapp::OnMessage(WM_KEYDOWN, &TreeListCtrl::OnKeyDown),
    winapp::OnMessage(WM_CHAR, &TreeListCtrl::OnChar),
    winapp::OnMessage(WM_DESTROY, &TreeListCtrl::OnDestroy),
    winapp::OnMessage(WM_CONTEXTMENU, &TreeListCtrl::OnContextMenu),
    winapp::OnReflectedNotify(static_cast<WORD>(NM_CLICK), &TreeListCtrl::OnClickNotify),
    winapp::OnReflectedNotify(static_cast<WORD>(NM_RCLICK), &TreeListCtrl::OnRightClickNotify),
    winapp::OnReflectedNotify(static_cast<WORD>(LVN_GETDISPINFOA), &TreeListCtrl::OnGetRowText),
    winapp::OnReflectedNotify(static_cast<WORD>(LVN_GETDISPINFOW), &TreeListCtrl::OnGetRowText),
    winapp::OnReflectedNotify(static_cast<WORD>(LVN_DELETEALLITEMS), &TreeListCtrl::OnDeleteAllRows),
    winapp::OnMessage(LVM_INSERTCOLUMNA, &TreeListCtrl::OnColumnsChange),
    winapp::OnMessage(LVM_INSERTCOLUMNW, &TreeListCtrl::OnColumnsChange),
    winapp::OnMessage(LVM_DELETECOLUMN, &TreeListCtrl::OnColumnsChange),
};

void TreeListCtrl::PreSubclassWindow() {
    m_header = nullptr;
    m_columnCount = -1;
    SetExtendedStyle(0, LVS_EX_FULLROWSELECT);
    SetDpi(winapp::DpiOf(hwnd()));
}

void TreeListCtrl::SetDpi(UINT dpi) {
    const int size = winapp::SmallIconSizeFor(dpi);
    m_dpi = dpi;
    if (!m_stateImages || size != m_imageSize) {
        winapp::ImageList boxes =
            winapp::LoadImageList(winapp::ResourceInstance(), ExpandBoxesBitmapFor(size), size, 1, RGB(255, 0, 0));
        if (boxes || !m_stateImages) {
            SetImageList(boxes.get(), LVSIL_STATE);
            m_stateImages = std::move(boxes);  // the list view lets go of the old boxes first
            m_imageSize = size;
        }
    } else {
        SetImageList(m_stateImages.get(), LVSIL_STATE);
    }
    m_tree.SetIndentWidth(m_imageSize);
}

bool TreeListCtrl::OnKeyDown(WPARAM key, LPARAM, LRESULT& result) {
    if (!m_tree.KeyDown(static_cast<unsigned>(key)))
        return false;
    result = 0;
    return true;
}

bool TreeListCtrl::OnChar(WPARAM character, LPARAM, LRESULT&) {
    m_tree.Char(static_cast<unsigned>(character));
    return false;
}

bool TreeListCtrl::OnDestroy(WPARAM, LPARAM, LRESULT&) {
    // The state images are ours: the list view must not destroy them with itself.
    SetImageList(nullptr, LVSIL_STATE);
    return false;
}

// The column count is asked again when next needed; the list view makes the change itself.
bool TreeListCtrl::OnColumnsChange(WPARAM, LPARAM, LRESULT&) {
    m_columnCount = -1;
    return false;
}

bool TreeListCtrl::OnDeleteAllRows(NMHDR*, LRESULT& result) {
    result = TRUE;  // the rows go without a notification each
    return true;
}

bool TreeListCtrl::OnClickNotify(NMHDR* header) {
    OnClick(*reinterpret_cast<const NMITEMACTIVATE*>(header));
    return true;
}

bool TreeListCtrl::OnRightClickNotify(NMHDR* header) {
    OnRightClick(*reinterpret_cast<const NMITEMACTIVATE*>(header));
    return true;
}

void TreeListCtrl::OnClick(const NMITEMACTIVATE& click) {
    if (click.iItem < 0)
        return;
    RECT label{};
    if (!ItemRect(click.iItem, LVIR_LABEL, label))
        return;
    m_tree.Click(click.iItem, click.ptAction.x, label.left);
}

void TreeListCtrl::OnRightClick(const NMITEMACTIVATE& click) {
    NotifyRightClick(click.iItem, nullptr);
}

// Shift+F10 and the context-menu key reach the list as WM_CONTEXTMENU at (-1, -1): the selected
// row is reported as a right click on it would be, with the point below its label. A click's
// WM_CONTEXTMENU (after its NM_RCLICK) and a key without a selected row get the default handling.
bool TreeListCtrl::OnContextMenu(WPARAM, LPARAM point, LRESULT& result) {
    if (GET_X_LPARAM(point) != -1 || GET_Y_LPARAM(point) != -1)
        return false;
    const int row = SelectedRow();
    RECT label{};
    if (row < 0 || !ItemRect(row, LVIR_LABEL, label))
        return false;
    // (a row scrolled out of sight gets its menu at the list's nearest edge)
    RECT client{};
    GetClientRect(hwnd(), &client);
    POINT at{std::clamp(label.left, client.left, client.right), std::clamp(label.bottom, client.top, client.bottom)};
    ClientToScreen(hwnd(), &at);
    NotifyRightClick(row, &at);
    result = 0;
    return true;
}

void TreeListCtrl::NotifyRightClick(int row, const POINT* keyboardPoint) {
    TreeListItem clicked;
    if (!m_tree.RightClick(row, clicked))
        return;
    HWND receiver = GetWindow(hwnd(), GW_OWNER);
    if (receiver == nullptr)
        receiver = GetParent(hwnd());
    if (receiver == nullptr)
        return;

    NMTREELIST notification{};
    notification.hdr.hwndFrom = hwnd();
    notification.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd()));
    notification.hdr.code = TLN_RCLICK;
    notification.nLevel = clicked.nLevel;
    notification.nImage = clicked.nImage;
    notification.nMask = clicked.nMask;
    notification.nIndent = clicked.nIndent;
    notification.nIndex = clicked.nIndex;
    notification.texts = std::move(clicked.texts);
    notification.bCollapsed = clicked.bCollapsed;
    notification.bByKeyboard = keyboardPoint != nullptr;
    if (keyboardPoint != nullptr)
        notification.ptMenu = *keyboardPoint;
    SendMessageA(receiver, WM_NOTIFY, notification.hdr.idFrom, reinterpret_cast<LPARAM>(&notification));
}

// The texts of the columns that rows do not hold, as the list view asks for them to show them.
bool TreeListCtrl::OnGetRowText(NMHDR* header) {
    const bool wide = header->code == static_cast<UINT>(LVN_GETDISPINFOW);
    const LVITEMA& asked = reinterpret_cast<NMLVDISPINFOA*>(header)->item;  // the same layout in both forms
    if (!(asked.mask & LVIF_TEXT) || asked.pszText == nullptr || asked.cchTextMax <= 0)
        return true;
    const std::string* text = m_tree.RowText(asked.iItem, asked.iSubItem);
    const char* source = text != nullptr ? text->c_str() : "";
    if (!wide) {
        lstrcpynA(asked.pszText, source, asked.cchTextMax);
        return true;
    }
    LVITEMW& answer = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
    const int length = MultiByteToWideChar(CP_ACP, 0, source, -1, nullptr, 0);
    std::wstring converted(static_cast<std::size_t>(std::max(length, 1)), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, source, -1, converted.data(), length);
    lstrcpynW(answer.pszText, converted.c_str(), answer.cchTextMax);
    return true;
}

// The header belongs to the list view for its whole life, so its handle is asked for once; its
// columns change only through the list view, where HandleMessage sees it.
int TreeListCtrl::ColumnCount() {
    if (m_columnCount >= 0)
        return m_columnCount;
    if (m_header == nullptr)
        m_header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
    const int count = static_cast<int>(SendMessageA(m_header, HDM_GETITEMCOUNT, 0, 0));
    if (count >= 0)
        m_columnCount = count;
    return count;
}

// The rows are this control's own business: their messages go straight to the list view's own
// procedure. Sent, each would pass the thread's hooks, and the menu library's hook makes every
// message sent cost dearly on some systems; the notifications the list view sends still pass them.
LRESULT TreeListCtrl::ToList(UINT message, WPARAM wParam, LPARAM lParam) {
    return hwnd() != nullptr ? Default(message, wParam, lParam) : 0;
}

int TreeListCtrl::RowCount() {
    return static_cast<int>(ToList(LVM_GETITEMCOUNT));
}

int TreeListCtrl::InsertRow(int row, const TreeRow& values) {
    LVITEMA item{};
    item.mask = values.mask;
    item.iItem = row;
    item.iSubItem = 0;
    item.state = values.state;
    item.stateMask = values.stateMask;
    item.pszText = const_cast<char*>(values.text.c_str());
    item.iImage = values.image;
    item.lParam = static_cast<LPARAM>(values.param);
    item.iIndent = values.indent;
    return static_cast<int>(ToList(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void TreeListCtrl::SetRowText(int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    ToList(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void TreeListCtrl::DeleteRow(int row) {
    ToList(LVM_DELETEITEM, static_cast<WPARAM>(row));
}

void TreeListCtrl::DeleteAllRows() {
    ToList(LVM_DELETEALLITEMS);
}

std::int64_t TreeListCtrl::RowParam(int row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!ToList(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.lParam;
}

int TreeListCtrl::RowIndent(int row) {
    LVITEMA item{};
    item.mask = LVIF_INDENT;
    item.iItem = row;
    if (!ToList(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    return item.iIndent;
}

void TreeListCtrl::SetRowState(int row, std::uint32_t state, std::uint32_t mask) {
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    ToList(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int TreeListCtrl::FindRowByParam(std::int64_t param) {
    LVFINDINFOA find{};
    find.flags = LVFI_PARAM;
    find.lParam = static_cast<LPARAM>(param);
    return static_cast<int>(ToList(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

int TreeListCtrl::SelectedRow() {
    return static_cast<int>(ToList(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

void TreeListCtrl::SetRedraw(bool on) {
    ToList(WM_SETREDRAW, on ? TRUE : FALSE);
}

}  // namespace viewer
