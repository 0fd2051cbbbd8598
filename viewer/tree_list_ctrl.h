// The viewer's list view as a three-level tree (years, months, days and sums). The tree logic is in
// `TreeList`; this control gives it the list view's rows and passes on clicks, keys and characters.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dpi.h"
#include "handles.h"
#include "list_view.h"
#include "message_map.h"
#include "tree_list.h"

namespace viewer {

// Sent to the owner (or parent) as WM_NOTIFY when a row was right-clicked. A 16-bit message map
// sees the code as 0x82AD.
constexpr UINT TLN_RCLICK = 98989;
constexpr WORD kTreeListRightClick16 = static_cast<WORD>(TLN_RCLICK);

// The notification: the header, then a copy of the right-clicked item, valid during the send.
// Shift+F10 and the context-menu key send the same for the selected row, with the point below the
// row's label where its context menu belongs (a click's menu belongs at the cursor).
struct NMTREELIST {
    NMHDR hdr;
    std::int32_t nLevel;
    std::int32_t nImage;
    std::uint32_t nMask;
    std::int32_t nIndent;
    std::int32_t nIndex;
    std::vector<std::string> texts;
    bool bCollapsed;
    bool bByKeyboard;
    POINT ptMenu;  // screen coordinates; set for a key only
};

// The bitmaps of the small row images and of the expand boxes drawn for images `size` pixels a
// side (16, 20, 24 or 32; see winapp::SmallIconSizeFor).
int SmallImagesBitmapFor(int size);
int ExpandBoxesBitmapFor(int size);
// The small row images for a DPI, `size` pixels a side.
winapp::ImageList LoadSmallImages(UINT dpi, int& size);

class TreeListCtrl : public winapp::ListView, private TreeListRows {
public:
    TreeListCtrl() : m_tree(*this) {}

    void DeleteAllTreeItems() { m_tree.DeleteAllTreeItems(); }
    std::int32_t InsertTreeItem(const std::string& text, int image, int level) {
        return m_tree.InsertTreeItem(text, image, level);
    }
    void ReserveTreeItems(std::size_t count) { m_tree.ReserveTreeItems(count); }
    void SetTreeItemText(std::int32_t item, int column, const std::string& text) {
        m_tree.SetTreeItemText(item, column, text);
    }
    void ExpandTreeItem(std::int32_t item) { m_tree.ExpandTreeItem(item); }
    // A fill between these is painted once, at the end (pairs nest).
    void SuspendRedraw() { m_tree.SuspendRedraw(); }
    void ResumeRedraw() { m_tree.ResumeRedraw(); }

    const std::vector<TreeListItem>& items() const { return m_tree.items(); }

    // The bitmap of the expand boxes (two 16 x 16 images on pure red).
    static constexpr int kStateImagesBitmap = 129;

    // The DPI the rows are drawn at (the window's, from attaching on): the expand boxes and the
    // indent steps are made for it anew when it changes.
    void SetDpi(UINT dpi);
    UINT dpi() const { return m_dpi; }
    // The side of the small images, the expand boxes and one indent step at that DPI.
    int imageSize() const { return m_imageSize; }

protected:
    void PreSubclassWindow() override;
    const winapp::MessageTable* Messages() const override { return &kMessages; }

private:
    static const winapp::MessageMap<TreeListCtrl> kMessages;

    bool OnKeyDown(WPARAM key, LPARAM, LRESULT& result);
    bool OnChar(WPARAM character, LPARAM, LRESULT& result);
    bool OnDestroy(WPARAM, LPARAM, LRESULT& result);
    bool OnContextMenu(WPARAM, LPARAM point, LRESULT& result);
    bool OnClickNotify(NMHDR* header);
    bool OnRightClickNotify(NMHDR* header);
    void OnClick(const NMITEMACTIVATE& click);
    void OnRightClick(const NMITEMACTIVATE& click);
    // TLN_RCLICK for `row`; `keyboardPoint` for a key, null for a click.
    void NotifyRightClick(int row, const POINT* keyboardPoint);
    bool OnGetRowText(NMHDR* header);
    bool OnDeleteAllRows(NMHDR* header, LRESULT& result);
    bool OnColumnsChange(WPARAM, LPARAM, LRESULT& result);

    // The rows of the list view.
    LRESULT ToList(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    int ColumnCount() override;
    int RowCount() override;
    int InsertRow(int row, const TreeRow& values) override;
    void SetRowText(int row, int column, const std::string& text) override;
    void DeleteRow(int row) override;
    void DeleteAllRows() override;
    std::int64_t RowParam(int row) override;
    int RowIndent(int row) override;
    void SetRowState(int row, std::uint32_t state, std::uint32_t mask) override;
    int FindRowByParam(std::int64_t param) override;
    int SelectedRow() override;
    void SetRedraw(bool on) override;

    TreeList m_tree;
    winapp::ImageList m_stateImages;
    UINT m_dpi = winapp::kDefaultDpi;
    int m_imageSize = kIndentWidth;
    HWND m_header = nullptr;
    // The header's column count, asked once and forgotten when a column is inserted or deleted:
    // a fill asks for it per item, and every message sent costs dearly under a window hook.
    int m_columnCount = -1;
};

}  // namespace viewer
