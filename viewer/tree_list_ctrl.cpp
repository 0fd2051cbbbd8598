#include "tree_list_ctrl.h"

#include "resources.h"

namespace viewer {

const winapp::MessageMap<TreeListCtrl> TreeListCtrl::kMessages = {
    winapp::OnMessage(WM_KEYDOWN, &TreeListCtrl::OnKeyDown),
    winapp::OnMessage(WM_CHAR, &TreeListCtrl::OnChar),
    winapp::OnMessage(WM_DESTROY, &TreeListCtrl::OnDestroy),
    winapp::OnReflectedNotify(static_cast<WORD>(NM_CLICK), &TreeListCtrl::OnClickNotify),
    winapp::OnReflectedNotify(static_cast<WORD>(NM_RCLICK), &TreeListCtrl::OnRightClickNotify),
};

void TreeListCtrl::PreSubclassWindow() {
    header_ = nullptr;
    SetExtendedStyle(0, LVS_EX_FULLROWSELECT);
    if (!m_stateImages) {
        m_stateImages = winapp::LoadImageList(winapp::ResourceInstance(), kStateImagesBitmap, 16, 1, RGB(255, 0, 0));
    }
    SetImageList(m_stateImages.get(), LVSIL_STATE);
}

bool TreeListCtrl::OnKeyDown(WPARAM key, LPARAM, LRESULT& result) {
    if (!tree_.KeyDown(static_cast<unsigned>(key)))
        return false;
    result = 0;
    return true;
}

bool TreeListCtrl::OnChar(WPARAM character, LPARAM, LRESULT&) {
    tree_.Char(static_cast<unsigned>(character));
    return false;
}

bool TreeListCtrl::OnDestroy(WPARAM, LPARAM, LRESULT&) {
    // The state images are ours: the list view must not destroy them with itself.
    SetImageList(nullptr, LVSIL_STATE);
    return false;
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
    tree_.Click(click.iItem, click.ptAction.x, label.left);
}

void TreeListCtrl::OnRightClick(const NMITEMACTIVATE& click) {
    TreeListItem clicked;
    if (!tree_.RightClick(click.iItem, clicked))
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
    SendMessageA(receiver, WM_NOTIFY, notification.hdr.idFrom, reinterpret_cast<LPARAM>(&notification));
}

// The header belongs to the list view for its whole life, so its handle is asked for once.
int TreeListCtrl::ColumnCount() {
    if (header_ == nullptr)
        header_ = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
    return static_cast<int>(SendMessageA(header_, HDM_GETITEMCOUNT, 0, 0));
}

int TreeListCtrl::RowCount() {
    return ItemCount();
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
    return InsertItem(item);
}

void TreeListCtrl::SetRowText(int row, int column, const std::string& text) {
    SetItemText(row, column, text);
}

void TreeListCtrl::DeleteRow(int row) {
    DeleteItem(row);
}

void TreeListCtrl::DeleteAllRows() {
    DeleteAllItems();
}

std::int64_t TreeListCtrl::RowParam(int row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!GetItem(item))
        return -1;
    return item.lParam;
}

int TreeListCtrl::RowIndent(int row) {
    LVITEMA item{};
    item.mask = LVIF_INDENT;
    item.iItem = row;
    if (!GetItem(item))
        return 0;
    return item.iIndent;
}

void TreeListCtrl::SetRowState(int row, std::uint32_t state, std::uint32_t mask) {
    SetItemState(row, state, mask);
}

int TreeListCtrl::FindRowByParam(std::int64_t param) {
    return FindItemByParam(static_cast<LPARAM>(param));
}

int TreeListCtrl::SelectedRow() {
    return NextItem(-1, LVNI_SELECTED);
}

void TreeListCtrl::SetRedraw(bool on) {
    ListView::SetRedraw(on);
}

}  // namespace viewer
