// The tree of the viewer's list: years, months and days or sums, kept as a flat item list in display
// order. Only rows reachable through expanded items exist in the list view. This part holds the
// items and the tree logic; the rows themselves live behind `TreeListRows`, which the list-view
// control implements and the tests fake.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace viewer {

// List-view item mask bits and state values used for rows (the list view's own numbers).
constexpr std::uint32_t kMaskText = 0x0001;
constexpr std::uint32_t kMaskImage = 0x0002;
constexpr std::uint32_t kMaskParam = 0x0004;
constexpr std::uint32_t kMaskState = 0x0008;
constexpr std::uint32_t kMaskIndent = 0x0010;
constexpr std::uint32_t kStateImageMask = 0xF000;
constexpr std::uint32_t kStateCollapsed = 0x1000;  // state image 1: boxed plus
constexpr std::uint32_t kStateExpanded = 0x2000;   // state image 2: boxed minus
constexpr std::uint32_t kStateSelectedFocused = 3;
// Width of one indent step and of the expand box, in pixels at 96 DPI (the small images' width).
constexpr int kIndentWidth = 16;

// Virtual keys and the character the tree reacts to.
constexpr unsigned kKeyLeft = 0x25;
constexpr unsigned kKeyRight = 0x27;
constexpr unsigned kKeyAdd = 0x6B;
constexpr unsigned kKeySubtract = 0x6D;
constexpr unsigned kCharExpandAll = 0x2A;  // '*'

struct TreeListItem {
    std::int32_t nLevel = 0;   // 0 year, 1 month, 2 day or sum; also the row's indent
    std::int32_t nImage = 0;   // small image
    std::uint32_t nMask = 0;   // row mask: 31 with expand box (levels 0 and 1), 23 without
    std::int32_t nIndent = 0;  // read back from the row at the last right click
    std::int32_t nIndex = 0;   // own position, written at the last right click
    std::vector<std::string> texts;
    bool bCollapsed = true;
};

// What a row is made of when it is inserted.
struct TreeRow {
    std::uint32_t mask = 0;
    std::uint32_t state = 0;
    std::uint32_t stateMask = kStateImageMask;
    std::string text;
    int image = 0;
    std::int64_t param = 0;
    int indent = 0;
};

// The rows of the list view, by row number. Rows carry the item index as their parameter. A row
// holds the text of its first column only; the list view asks for the others (`TreeList::RowText`)
// when it shows them, so a row costs one message however many columns it has.
class TreeListRows {
public:
    virtual ~TreeListRows() = default;
    virtual int ColumnCount() = 0;
    virtual int RowCount() = 0;
    virtual int InsertRow(int row, const TreeRow& values) = 0;  // the new row, or -1; past the end appends
    virtual void SetRowText(int row, int column, const std::string& text) = 0;
    virtual void DeleteRow(int row) = 0;
    virtual void DeleteAllRows() = 0;
    virtual std::int64_t RowParam(int row) = 0;
    virtual int RowIndent(int row) = 0;
    virtual void SetRowState(int row, std::uint32_t state, std::uint32_t mask) = 0;
    virtual int FindRowByParam(std::int64_t param) = 0;  // -1 when no row carries it
    virtual int SelectedRow() = 0;                       // -1 when none is selected
    virtual void SetRedraw(bool on) = 0;
};

class TreeList {
public:
    explicit TreeList(TreeListRows& rows) : m_rows(rows) {}

    // Filling, as the dialog does it.
    void DeleteAllTreeItems();
    std::int32_t InsertTreeItem(const std::string& text, int image, int level);
    // Room for this many items, so that a long fill does not move the items again and again.
    void ReserveTreeItems(std::size_t count);
    // Throws std::out_of_range for an unknown item or a column the item has no text for.
    void SetTreeItemText(std::int32_t item, int column, const std::string& text);
    // Expands as the user would; an unknown item is ignored, and so is an item whose row shows it
    // expanded already (its children have their rows).
    void ExpandTreeItem(std::int32_t item);

    // Redrawing suspended until the matching ResumeRedraw. Pairs nest: the list is redrawn once,
    // when the outermost pair ends (the dialog brackets a whole fill with one).
    void SuspendRedraw();
    void ResumeRedraw();

    // The text of a row's column as its item holds it; null for a row or column it does not know.
    const std::string* RowText(int row, int column);

    // User actions on rows. Each returns whether it acted.
    bool ToggleRow(int row);
    // A left click at x on `row`, whose label starts at labelLeft: only the expand box and icon toggle.
    bool Click(int row, int x, int labelLeft);
    // One indent step in pixels: the width of the small images the rows show (kIndentWidth at 96 DPI).
    void SetIndentWidth(int width) { m_indentWidth = width > 0 ? width : kIndentWidth; }
    int indentWidth() const { return m_indentWidth; }
    // The right-clicked item with its row's indent and its own index filled in; false without a row.
    bool RightClick(int row, TreeListItem& clicked);
    // True when the key was consumed and must not reach the list view.
    bool KeyDown(unsigned key);
    // '*' expands the selected collapsed item and everything below it. The character always goes
    // on to the list view as well.
    void Char(unsigned character);

    const std::vector<TreeListItem>& items() const { return m_items; }

    static std::uint32_t MaskForLevel(int level) { return level >= 2 ? 23u : 31u; }

private:
    int InsertItemRow(int row, std::int32_t item);
    std::int32_t ExpandBranch(std::int32_t item, bool all, int& row);
    void CollapseBranch(std::int32_t item, int row);
    void Expand(std::int32_t item, int row, bool all);
    void Collapse(std::int32_t item, int row);
    void Select(int row);
    std::int32_t ItemOfRow(int row);

    void NoteShown(std::int32_t item, bool shown) { m_shown[static_cast<std::size_t>(item)] = shown; }

    TreeListRows& m_rows;
    int m_redrawSuspended = 0;
    int m_indentWidth = kIndentWidth;
    std::vector<TreeListItem> m_items;
    // Whether a row shows the item: texts of items without a row need no search for one.
    std::vector<bool> m_shown;
};

}  // namespace viewer
