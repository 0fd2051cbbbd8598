// The list-view control: each method one message.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "window.h"

namespace winapp {

class ListView : public Control {
public:
    int InsertColumn(int position, const std::string& caption, int format, int width) const {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.fmt = format;
        column.cx = width;
        column.pszText = const_cast<char*>(caption.c_str());
        return static_cast<int>(
            Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&column)));
    }
    int ColumnWidth(int column) const {
        return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
    }
    bool SetColumnWidth(int column, int width) const {
        return Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)) != 0;
    }
    int ColumnCount() const {
        return static_cast<int>(SendMessageA(reinterpret_cast<HWND>(Send(LVM_GETHEADER)), HDM_GETITEMCOUNT, 0, 0));
    }
    int ItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    int InsertItem(const LVITEMA& item) const {
        return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    }
    bool GetItem(LVITEMA& item) const { return Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0; }
    bool SetItemText(int row, int column, const std::string& text) const {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = const_cast<char*>(text.c_str());
        return Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)) != 0;
    }
    std::string ItemText(int row, int column) const {
        char buffer[512] = {};
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    bool SetItemState(int row, UINT state, UINT mask) const {
        LVITEMA item{};
        item.state = state;
        item.stateMask = mask;
        return Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)) != 0;
    }
    UINT ItemState(int row, UINT mask) const {
        return static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), mask));
    }
    bool DeleteItem(int row) const { return Send(LVM_DELETEITEM, static_cast<WPARAM>(row)) != 0; }
    bool DeleteAllItems() const { return Send(LVM_DELETEALLITEMS) != 0; }
    int FindItemByParam(LPARAM param) const {
        LVFINDINFOA find{};
        find.flags = LVFI_PARAM;
        find.lParam = param;
        return static_cast<int>(Send(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    }
    int NextItem(int start, UINT flags) const {
        return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
    }
    bool ItemRect(int row, int part, RECT& rect) const {
        rect.left = part;
        return Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)) != 0;
    }
    void SetExtendedStyle(DWORD mask, DWORD style) const { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style); }
    HIMAGELIST SetImageList(HIMAGELIST list, int which) const {
        return reinterpret_cast<HIMAGELIST>(
            Send(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list)));
    }
    void SetRedraw(bool on) const { Send(WM_SETREDRAW, on ? TRUE : FALSE); }
};

}  // namespace winapp
