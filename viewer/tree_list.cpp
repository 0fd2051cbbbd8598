#include "tree_list.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <stdexcept>

namespace viewer {

void TreeList::DeleteAllTreeItems() {
    m_items.clear();
    m_shown.clear();
    m_rows.DeleteAllRows();
}

void TreeList::ReserveTreeItems(std::size_t count) {
    try {
        m_items.reserve(count);
        m_shown.reserve(count);
    } catch (const std::exception&) {
        // then the list grows as it goes
    }
}

std::int32_t TreeList::InsertTreeItem(const std::string& text, int image, int level) {
    const auto index = static_cast<std::int32_t>(m_items.size());

    TreeListItem item;
    // One text per header column; a list without columns still keeps the label.
    item.texts.resize(static_cast<std::size_t>(std::max(m_rows.ColumnCount(), 1)));
    item.texts[0] = text;
    item.nLevel = level;
    item.nImage = image;
    item.nMask = MaskForLevel(level);
    item.bCollapsed = true;
    m_items.push_back(std::move(item));
    m_shown.push_back(false);

    // Months, days and sums appear when their parent is expanded.
    if (level == 0) {
        TreeRow row;
        row.mask = m_items.back().nMask;
        row.state = kStateCollapsed;
        row.text = text;
        row.image = image;
        row.param = index;
        row.indent = 0;
        NoteShown(index, m_rows.InsertRow(std::numeric_limits<int>::max(), row) >= 0);
    }
    return index;
}

void TreeList::SetTreeItemText(std::int32_t item, int column, const std::string& text) {
    if (item < 0) {
        throw std::out_of_range("TreeList::SetTreeItemText: no such item");
    }
    std::string& stored = m_items.at(static_cast<std::size_t>(item)).texts.at(static_cast<std::size_t>(column));
    stored = text;
    if (!m_shown[static_cast<std::size_t>(item)])
        return;
    const int row = m_rows.FindRowByParam(item);
    if (row >= 0) {
        m_rows.SetRowText(row, column, text);
    }
}

void TreeList::ExpandTreeItem(std::int32_t item) {
    if (item < 0 || static_cast<std::size_t>(item) >= m_items.size()) {
        return;
    }
    const int row = m_shown[static_cast<std::size_t>(item)] ? m_rows.FindRowByParam(item) : -1;
    if (row >= 0 && !m_items[item].bCollapsed)
        return;
    SuspendRedraw();
    m_items[item].bCollapsed = false;
    if (row >= 0) {
        int counter = row;
        ExpandBranch(item, false, counter);
    }
    ResumeRedraw();
    if (row >= 0) {
        m_rows.SetRowState(row, kStateExpanded, kStateImageMask);
    }
}

void TreeList::SuspendRedraw() {
    if (m_redrawSuspended++ == 0)
        m_rows.SetRedraw(false);
}

void TreeList::ResumeRedraw() {
    if (m_redrawSuspended > 0 && --m_redrawSuspended == 0)
        m_rows.SetRedraw(true);
}

const std::string* TreeList::RowText(int row, int column) {
    const std::int32_t item = row >= 0 ? ItemOfRow(row) : -1;
    if (item < 0 || column < 0)
        return nullptr;
    const std::vector<std::string>& texts = m_items[static_cast<std::size_t>(item)].texts;
    return static_cast<std::size_t>(column) < texts.size() ? &texts[static_cast<std::size_t>(column)] : nullptr;
}

// The row holds the first text only; the list view asks RowText for the others as it shows them.
int TreeList::InsertItemRow(int row, std::int32_t item) {
    const TreeListItem& source = m_items[item];
    TreeRow values;
    values.mask = source.nMask;
    values.state = source.bCollapsed ? kStateCollapsed : kStateExpanded;
    values.text = source.texts.empty() ? std::string() : source.texts[0];
    values.image = source.nImage;
    values.param = item;
    values.indent = source.nLevel;
    const int newRow = m_rows.InsertRow(row, values);
    if (newRow >= 0)
        NoteShown(item, true);
    return newRow;
}

// `row` holds the item's row on entry and the position after its last shown descendant on return.
std::int32_t TreeList::ExpandBranch(std::int32_t item, bool all, int& row) {
    m_items[item].bCollapsed = false;
    ++row;
    const std::int32_t level = m_items[item].nLevel;
    auto i = static_cast<std::size_t>(item) + 1;
    while (i < m_items.size() && m_items[i].nLevel > level) {
        if (all) {
            m_items[i].bCollapsed = false;
        }
        InsertItemRow(row, static_cast<std::int32_t>(i));
        if (all || !m_items[i].bCollapsed) {
            i = static_cast<std::size_t>(ExpandBranch(static_cast<std::int32_t>(i), all, row));
        } else {
            const std::int32_t childLevel = m_items[i].nLevel;
            do {
                ++i;
            } while (i < m_items.size() && m_items[i].nLevel > childLevel);
            ++row;
        }
    }
    return static_cast<std::int32_t>(i);
}

void TreeList::CollapseBranch(std::int32_t item, int row) {
    m_items[item].bCollapsed = true;
    SuspendRedraw();
    const std::int32_t level = m_items[item].nLevel;
    const int next = row + 1;
    // Rows are counted once: each removal takes one off.
    for (int count = m_rows.RowCount(); next < count; --count) {
        const std::int32_t shown = ItemOfRow(next);
        if (shown < 0 || m_items[shown].nLevel <= level) {
            break;
        }
        m_rows.DeleteRow(next);
        NoteShown(shown, false);
    }
    ResumeRedraw();
}

void TreeList::Expand(std::int32_t item, int row, bool all) {
    SuspendRedraw();
    int counter = row;
    ExpandBranch(item, all, counter);
    ResumeRedraw();
    m_rows.SetRowState(row, kStateExpanded, kStateImageMask);
}

void TreeList::Collapse(std::int32_t item, int row) {
    SuspendRedraw();
    CollapseBranch(item, row);
    ResumeRedraw();
    m_rows.SetRowState(row, kStateCollapsed, kStateImageMask);
}

void TreeList::Select(int row) {
    m_rows.SetRowState(row, kStateSelectedFocused, kStateSelectedFocused);
}

// The item a row shows; -1 for a row whose parameter names no item (not one of ours).
std::int32_t TreeList::ItemOfRow(int row) {
    const std::int64_t param = m_rows.RowParam(row);
    if (param < 0 || static_cast<std::uint64_t>(param) >= m_items.size()) {
        return -1;
    }
    return static_cast<std::int32_t>(param);
}

bool TreeList::ToggleRow(int row) {
    const std::int32_t item = row >= 0 ? ItemOfRow(row) : -1;
    if (item < 0) {
        return false;
    }
    if (m_items[item].bCollapsed) {
        Expand(item, row, false);
    } else {
        Collapse(item, row);
    }
    return true;
}

bool TreeList::Click(int row, int x, int labelLeft) {
    if (row < 0 || x >= labelLeft) {
        return false;
    }
    if (ItemOfRow(row) < 0 || x <= m_rows.RowIndent(row) * m_indentWidth) {
        return false;
    }
    return ToggleRow(row);
}

bool TreeList::RightClick(int row, TreeListItem& clicked) {
    const std::int32_t item = row >= 0 ? ItemOfRow(row) : -1;
    if (item < 0) {
        return false;
    }
    m_items[item].nIndent = m_rows.RowIndent(row);
    m_items[item].nIndex = item;
    clicked = m_items[item];
    return true;
}

bool TreeList::KeyDown(unsigned key) {
    if (key != kKeyLeft && key != kKeyRight && key != kKeyAdd && key != kKeySubtract) {
        return false;
    }
    const int row = m_rows.SelectedRow();
    const std::int32_t item = row >= 0 ? ItemOfRow(row) : -1;
    if (item < 0) {
        return false;
    }
    const bool collapsed = m_items[item].bCollapsed;
    switch (key) {
        case kKeyLeft:
            if (!collapsed) {
                Collapse(item, row);
                break;
            }
            for (std::int32_t parent = item - 1; parent >= 0; --parent) {
                if (m_items[parent].nLevel < m_items[item].nLevel) {
                    const int parentRow = m_rows.FindRowByParam(parent);
                    if (parentRow >= 0) {
                        Select(parentRow);
                    }
                    break;
                }
            }
            break;
        case kKeyRight:
            if (collapsed) {
                Expand(item, row, false);
            } else if (static_cast<std::size_t>(item) + 1 < m_items.size() &&
                       m_items[item + 1].nLevel > m_items[item].nLevel) {
                Select(row + 1);
            }
            break;
        case kKeyAdd:
            if (collapsed) {
                Expand(item, row, false);
            }
            break;
        case kKeySubtract:
            if (!collapsed) {
                Collapse(item, row);
            }
            break;
    }
    return true;
}

void TreeList::Char(unsigned character) {
    if (character != kCharExpandAll) {
        return;
    }
    const int row = m_rows.SelectedRow();
    const std::int32_t item = row >= 0 ? ItemOfRow(row) : -1;
    if (item >= 0 && m_items[item].bCollapsed) {
        Expand(item, row, true);
    }
}

}  // namespace viewer
