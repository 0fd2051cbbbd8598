#include "tree_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace viewer {
namespace {

// A list view in memory: rows with their values and sub-item texts, one selection, a redraw flag.
// As the list view does, it asks the tree for the text of a column that its row was not given.
class FakeRows : public TreeListRows {
public:
    struct Row {
        TreeRow values;
        std::vector<std::string> texts;
        std::vector<bool> textSet;
    };

    explicit FakeRows(int columns) : columns_(columns) {}

    int ColumnCount() override { return columns_; }
    int RowCount() override { return static_cast<int>(rows.size()); }
    int InsertRow(int row, const TreeRow& values) override {
        NoteChange();
        if (row < 0 || row > RowCount())
            row = RowCount();
        Row made{values, std::vector<std::string>(static_cast<std::size_t>(columns_)),
                 std::vector<bool>(static_cast<std::size_t>(columns_))};
        made.texts[0] = values.text;
        made.textSet[0] = true;
        made.values.state &= values.stateMask;
        rows.insert(rows.begin() + row, made);
        return row;
    }
    void SetRowText(int row, int column, const std::string& text) override {
        ++textsSet;
        Row& target = rows.at(static_cast<std::size_t>(row));
        target.texts.at(static_cast<std::size_t>(column)) = text;
        target.textSet.at(static_cast<std::size_t>(column)) = true;
    }
    // What the row shows in a column.
    std::string Cell(int row, int column) {
        const Row& shown = rows.at(static_cast<std::size_t>(row));
        if (shown.textSet.at(static_cast<std::size_t>(column)))
            return shown.texts[static_cast<std::size_t>(column)];
        const std::string* asked = tree != nullptr ? tree->RowText(row, column) : nullptr;
        return asked != nullptr ? *asked : std::string();
    }
    void DeleteRow(int row) override {
        NoteChange();
        rows.erase(rows.begin() + row);
    }
    void DeleteAllRows() override { rows.clear(); }
    std::int64_t RowParam(int row) override {
        return row >= 0 && row < RowCount() ? rows[static_cast<std::size_t>(row)].values.param : -1;
    }
    int RowIndent(int row) override { return rows.at(static_cast<std::size_t>(row)).values.indent; }
    void SetRowState(int row, std::uint32_t state, std::uint32_t mask) override {
        if ((mask & state & 2u) != 0) {
            for (Row& other : rows)
                other.values.state &= ~3u;  // single selection
        }
        std::uint32_t& current = rows.at(static_cast<std::size_t>(row)).values.state;
        current = (current & ~mask) | (state & mask);
    }
    int FindRowByParam(std::int64_t param) override {
        ++finds;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].values.param == param)
                return static_cast<int>(i);
        }
        return -1;
    }
    int SelectedRow() override {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].values.state & 2u)
                return static_cast<int>(i);
        }
        return -1;
    }
    void SetRedraw(bool on) override {
        redraw = on;
        ++redrawSwitches;
    }

    // Rows as "indent text +" (collapsed box), "-" (expanded box); selected rows end in " *".
    std::vector<std::string> Shown() const {
        std::vector<std::string> out;
        for (const Row& row : rows) {
            std::string line = std::to_string(row.values.indent) + " " + row.values.text;
            const std::uint32_t box = row.values.state & kStateImageMask;
            line += box == kStateCollapsed ? " +" : box == kStateExpanded ? " -" : " ?";
            if (row.values.state & 2u)
                line += " *";
            out.push_back(line);
        }
        return out;
    }

    std::vector<Row> rows;
    TreeList* tree = nullptr;  // asked for the texts rows were not given
    bool redraw = true;
    int redrawSwitches = 0;
    int changesWhileDrawing = 0;
    int finds = 0;
    int textsSet = 0;

private:
    void NoteChange() {
        if (!redraw)
            return;
        ++changesWhileDrawing;
    }
    int columns_;
};

// Two years; the second has two months, the first of them with two days and a sum.
struct TwoYears {
    FakeRows rows{5};
    TreeList tree{rows};
    std::int32_t y2024, m2024, y2025, jan, jan1, jan2, janSum, feb, feb1;

    TwoYears() {
        rows.tree = &tree;
        tree.DeleteAllTreeItems();
        y2024 = tree.InsertTreeItem("2024", 0, 0);
        m2024 = tree.InsertTreeItem("Dezember", 1, 1);
        tree.InsertTreeItem("31.12.2024", 3, 2);
        y2025 = tree.InsertTreeItem("2025", 0, 0);
        jan = tree.InsertTreeItem("Januar", 1, 1);
        tree.SetTreeItemText(jan, 3, "01/2025");
        jan1 = tree.InsertTreeItem("01.01.2025", 3, 2);
        tree.SetTreeItemText(jan1, 1, "1,00 MB");
        jan2 = tree.InsertTreeItem("05.01.2025", 2, 2);
        janSum = tree.InsertTreeItem("Sum", 4, 2);
        feb = tree.InsertTreeItem("Februar", 1, 1);
        feb1 = tree.InsertTreeItem("01.02.2025", 3, 2);
        rows.changesWhileDrawing = 0;  // the fill itself inserts year rows one by one
    }

    int RowOf(std::int32_t item) { return rows.FindRowByParam(item); }
    void SelectItem(std::int32_t item) { rows.SetRowState(RowOf(item), 3, 3); }
};

TEST(TreeListFill, OnlyYearRowsUntilTheLastYearIsExpanded) {
    TwoYears t;
    EXPECT_EQ(t.rows.Shown(), (std::vector<std::string>{"0 2024 +", "0 2025 +"}));
    EXPECT_EQ(t.rows.rows[1].values.param, t.y2025);
    EXPECT_EQ(t.rows.rows[1].values.mask, 31u);
    EXPECT_EQ(t.rows.rows[1].values.stateMask, kStateImageMask);

    t.tree.ExpandTreeItem(t.y2025);
    EXPECT_EQ(t.rows.Shown(), (std::vector<std::string>{"0 2024 +", "0 2025 -", "1 Januar +", "1 Februar +"}));
    EXPECT_EQ(t.rows.changesWhileDrawing, 0);
    // Texts set during the fill reach the rows when they are made.
    EXPECT_EQ(t.rows.Cell(2, 3), "01/2025");
    EXPECT_EQ(t.rows.rows[2].values.param, t.jan);
}

TEST(TreeListFill, ItemsKeepTheirTextsMasksAndLevels) {
    TwoYears t;
    const auto& items = t.tree.items();
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items[t.jan1].texts, (std::vector<std::string>{"01.01.2025", "1,00 MB", "", "", ""}));
    EXPECT_EQ(items[t.jan1].nMask, 23u);
    EXPECT_EQ(items[t.jan].nMask, 31u);
    for (const TreeListItem& item : items)
        EXPECT_TRUE(item.bCollapsed);

    t.tree.DeleteAllTreeItems();
    EXPECT_TRUE(t.tree.items().empty());
    EXPECT_TRUE(t.rows.rows.empty());
    EXPECT_EQ(t.tree.InsertTreeItem("1999", 0, 0), 0);
}

TEST(TreeListFill, TextsOfShownRowsChangeWithTheirItems) {
    TwoYears t;
    t.tree.SetTreeItemText(t.y2024, 4, "3:00:00");
    EXPECT_EQ(t.rows.Cell(0, 4), "3:00:00");
    EXPECT_THROW(t.tree.SetTreeItemText(99, 1, "x"), std::out_of_range);
    EXPECT_THROW(t.tree.SetTreeItemText(-1, 1, "x"), std::out_of_range);
    EXPECT_THROW(t.tree.SetTreeItemText(t.jan, 5, "x"), std::out_of_range);
}

TEST(TreeListFill, TextsOfItemsWithoutRowsNeedNoRowSearch) {
    TwoYears t;
    t.rows.finds = 0;
    t.tree.SetTreeItemText(t.feb1, 1, "2,00 MB");
    EXPECT_EQ(t.rows.finds, 0);

    // Rows made and removed again by expanding and collapsing keep the texts right.
    t.tree.ExpandTreeItem(t.y2025);
    t.tree.ToggleRow(t.RowOf(t.feb));
    t.tree.SetTreeItemText(t.feb1, 2, "3,00 MB");
    EXPECT_EQ(t.rows.Cell(t.RowOf(t.feb1), 2), "3,00 MB");
    t.tree.ToggleRow(t.RowOf(t.y2025));
    t.rows.finds = 0;
    t.tree.SetTreeItemText(t.feb1, 3, "5,00 MB");
    t.tree.SetTreeItemText(t.jan, 3, "x");
    EXPECT_EQ(t.rows.finds, 0);
    t.tree.ToggleRow(t.RowOf(t.y2025));
    EXPECT_EQ(t.rows.Cell(t.RowOf(t.feb1), 3), "5,00 MB");
    EXPECT_EQ(t.rows.Cell(t.RowOf(t.jan), 3), "x");
}

// After a deletion the dialog expands the item that now has the clicked index, which may be the
// last year that the refill expanded already: its months must not appear twice.
// A row costs one message however many columns it has: rows are given their first text, and the
// list asks for the others as it shows them.
TEST(TreeListFill, RowsHoldTheirFirstTextAndShowTheOthersFromTheirItems) {
    TwoYears t;
    t.SelectItem(t.y2025);
    t.tree.Char(kCharExpandAll);
    EXPECT_EQ(t.rows.textsSet, 0);
    EXPECT_EQ(t.rows.Cell(t.RowOf(t.jan1), 0), "01.01.2025");
    EXPECT_EQ(t.rows.Cell(t.RowOf(t.jan1), 1), "1,00 MB");
    EXPECT_EQ(t.rows.Cell(t.RowOf(t.jan1), 2), "");
    EXPECT_EQ(t.rows.Cell(t.RowOf(t.jan), 3), "01/2025");
    EXPECT_EQ(t.tree.RowText(t.RowOf(t.jan), 5), nullptr);
    EXPECT_EQ(t.tree.RowText(t.RowOf(t.jan), -1), nullptr);
    EXPECT_EQ(t.tree.RowText(static_cast<int>(t.rows.rows.size()), 1), nullptr);
    EXPECT_EQ(t.tree.RowText(-1, 1), nullptr);
}

// The dialog brackets its fill: the expansion at its end must not let the list redraw early.
TEST(TreeListFill, ABracketedFillIsDrawnOnceAtItsEnd) {
    FakeRows rows(5);
    TreeList tree(rows);
    tree.SuspendRedraw();
    tree.DeleteAllTreeItems();
    const std::int32_t year = tree.InsertTreeItem("2025", 0, 0);
    tree.InsertTreeItem("Januar", 1, 1);
    tree.InsertTreeItem("2026", 0, 0);
    tree.ExpandTreeItem(year);
    EXPECT_FALSE(rows.redraw);
    tree.ResumeRedraw();
    EXPECT_TRUE(rows.redraw);
    EXPECT_EQ(rows.changesWhileDrawing, 0);
    EXPECT_EQ(rows.redrawSwitches, 2);
    tree.ResumeRedraw();  // without a matching suspension: nothing
    EXPECT_EQ(rows.redrawSwitches, 2);
    EXPECT_EQ(rows.Shown(), (std::vector<std::string>{"0 2025 -", "1 Januar +", "0 2026 +"}));
}

TEST(TreeListFill, ExpandingAnExpandedItemAddsNoRows) {
    TwoYears t;
    t.tree.ExpandTreeItem(t.y2025);
    t.tree.ExpandTreeItem(t.y2025);
    EXPECT_EQ(t.rows.Shown(), (std::vector<std::string>{"0 2024 +", "0 2025 -", "1 Januar +", "1 Februar +"}));
}

TEST(TreeListFill, ExpandingAnUnknownItemDoesNothing) {
    FakeRows rows(5);
    TreeList tree(rows);
    tree.ExpandTreeItem(0);  // empty list
    EXPECT_TRUE(rows.rows.empty());

    TwoYears t;
    t.tree.ExpandTreeItem(-1);
    t.tree.ExpandTreeItem(10);
    EXPECT_EQ(t.rows.Shown(), (std::vector<std::string>{"0 2024 +", "0 2025 +"}));
}

TEST(TreeListFill, ExpandingAnItemWithoutRowOnlyMarksIt) {
    TwoYears t;
    t.tree.ExpandTreeItem(t.jan);
    EXPECT_EQ(t.rows.rows.size(), 2u);
    EXPECT_FALSE(t.tree.items()[t.jan].bCollapsed);
    t.tree.ExpandTreeItem(t.y2025);
    EXPECT_EQ(t.rows.Shown(), (std::vector<std::string>{"0 2024 +", "0 2025 -", "1 Januar -", "2 01.01.2025 +",
                                                        "2 05.01.2025 +", "2 Sum +", "1 Februar +"}));
}

TEST(TreeListFill, ADayRightAfterAYearIsItsChild) {
    FakeRows rows(5);
    TreeList tree(rows);
    const auto year = tree.InsertTreeItem("2020", 0, 0);
    tree.InsertTreeItem("01.03.2020", 3, 2);
    tree.InsertTreeItem("Sum", 4, 2);
    tree.InsertTreeItem("2021", 0, 0);
    tree.ExpandTreeItem(year);
    EXPECT_EQ(rows.Shown(), (std::vector<std::string>{"0 2020 -", "2 01.03.2020 +", "2 Sum +", "0 2021 +"}));
}

TEST(TreeListToggle, CollapseKeepsTheMarksOfDescendants) {
    TwoYears t;
    t.tree.ExpandTreeItem(t.y2025);
    ASSERT_TRUE(t.tree.ToggleRow(t.RowOf(t.jan)));    // expand January
    ASSERT_TRUE(t.tree.ToggleRow(t.RowOf(t.y2025)));  // collapse the year
    EXPECT_EQ(t.rows.Shown(), (std::vector<std::string>{"0 2024 +", "0 2025 +"}));
    ASSERT_TRUE(t.tree.ToggleRow(t.RowOf(t.y2025)));
    EXPECT_EQ(t.rows.Shown(), (std::vector<std::string>{"0 2024 +", "0 2025 -", "1 Januar -", "2 01.01.2025 +",
                                                        "2 05.01.2025 +", "2 Sum +", "1 Februar +"}));
    EXPECT_EQ(t.rows.changesWhileDrawing, 0);
}

TEST(TreeListToggle, CollapsingStopsAtTheNextSibling) {
    TwoYears t;
    t.tree.ToggleRow(t.RowOf(t.y2024));
    t.tree.ToggleRow(t.RowOf(t.m2024));
    t.tree.ExpandTreeItem(t.y2025);
    t.tree.ToggleRow(t.RowOf(t.m2024));
    EXPECT_EQ(t.rows.Shown(),
              (std::vector<std::string>{"0 2024 -", "1 Dezember +", "0 2025 -", "1 Januar +", "1 Februar +"}));
    t.tree.ToggleRow(t.RowOf(t.jan));
    t.tree.ToggleRow(t.RowOf(t.feb));
    t.tree.ToggleRow(t.RowOf(t.jan));
    EXPECT_EQ(t.rows.Shown(), (std::vector<std::string>{"0 2024 -", "1 Dezember +", "0 2025 -", "1 Januar +",
                                                        "1 Februar -", "2 01.02.2025 +"}));
    EXPECT_EQ(t.rows.changesWhileDrawing, 0);
}

TEST(TreeListToggle, StarExpandsAndMarksEverythingBelow) {
    TwoYears t;
    t.SelectItem(t.y2025);
    t.tree.Char(kCharExpandAll);
    EXPECT_EQ(t.rows.Shown(), (std::vector<std::string>{"0 2024 +", "0 2025 - *", "1 Januar -", "2 01.01.2025 -",
                                                        "2 05.01.2025 -", "2 Sum -", "1 Februar -", "2 01.02.2025 -"}));
    for (std::int32_t i = t.y2025; i < 10; ++i)
        EXPECT_FALSE(t.tree.items()[i].bCollapsed) << i;
    EXPECT_TRUE(t.tree.items()[t.m2024].bCollapsed);

    // Collapse and re-expand by clicks on the box: everything is shown again.
    const int yearRow = t.RowOf(t.y2025);
    ASSERT_TRUE(t.tree.Click(yearRow, 5, 36));
    EXPECT_EQ(t.rows.rows.size(), 2u);
    ASSERT_TRUE(t.tree.Click(yearRow, 5, 36));
    EXPECT_EQ(t.rows.rows.size(), 8u);
    EXPECT_EQ(t.rows.changesWhileDrawing, 0);
}

TEST(TreeListToggle, StarOnAnExpandedItemOrOtherCharactersChangeNothing) {
    TwoYears t;
    t.tree.ExpandTreeItem(t.y2025);
    t.SelectItem(t.y2025);
    t.tree.Char(kCharExpandAll);
    t.tree.Char('+');
    EXPECT_EQ(t.rows.rows.size(), 4u);
    EXPECT_TRUE(t.tree.items()[t.jan].bCollapsed);
}

TEST(TreeListClick, OnlyTheBoxAndIconToggle) {
    TwoYears t;
    t.tree.ExpandTreeItem(t.y2025);
    const int month = t.RowOf(t.jan);  // indent 1: the box starts at 16
    struct Case {
        int x;
        bool toggles;
    } cases[] = {{3, false}, {16, false}, {17, true}, {40, true}, {51, false}, {80, false}};
    for (const Case& c : cases) {
        const bool wasCollapsed = t.tree.items()[t.jan].bCollapsed;
        EXPECT_EQ(t.tree.Click(month, c.x, 51), c.toggles) << c.x;
        EXPECT_EQ(t.tree.items()[t.jan].bCollapsed, c.toggles ? !wasCollapsed : wasCollapsed) << c.x;
    }
    EXPECT_FALSE(t.tree.Click(-1, 20, 51));

    // At 144 DPI the small images, and with them the indent steps, are 24 pixels wide.
    t.tree.SetIndentWidth(24);
    const Case scaled[] = {{16, false}, {24, false}, {25, true}, {60, true}, {76, false}};
    for (const Case& c : scaled) {
        const bool wasCollapsed = t.tree.items()[t.jan].bCollapsed;
        EXPECT_EQ(t.tree.Click(month, c.x, 76), c.toggles) << c.x;
        EXPECT_EQ(t.tree.items()[t.jan].bCollapsed, c.toggles ? !wasCollapsed : wasCollapsed) << c.x;
    }
}

TEST(TreeListClick, RightClickReportsTheRowsIndentAndTheItemsIndex) {
    TwoYears t;
    t.tree.ExpandTreeItem(t.y2025);
    t.tree.ToggleRow(t.RowOf(t.jan));
    struct Case {
        std::int32_t item;
        int indent;
    } cases[] = {{t.y2025, 0}, {t.jan, 1}, {t.jan2, 2}, {t.janSum, 2}};
    for (const Case& c : cases) {
        TreeListItem clicked;
        ASSERT_TRUE(t.tree.RightClick(t.RowOf(c.item), clicked));
        EXPECT_EQ(clicked.nIndent, c.indent);
        EXPECT_EQ(clicked.nIndex, c.item);
        EXPECT_EQ(clicked.texts, t.tree.items()[c.item].texts);
    }
    TreeListItem untouched;
    untouched.nIndex = -7;
    EXPECT_FALSE(t.tree.RightClick(-1, untouched));
    EXPECT_EQ(untouched.nIndex, -7);
}

TEST(TreeListKeys, LeftSelectsTheParentOrCollapses) {
    TwoYears t;
    t.tree.ExpandTreeItem(t.y2025);
    t.SelectItem(t.feb);
    EXPECT_TRUE(t.tree.KeyDown(kKeyLeft));
    EXPECT_EQ(t.rows.SelectedRow(), t.RowOf(t.y2025));

    EXPECT_TRUE(t.tree.KeyDown(kKeyLeft));  // expanded year: collapse
    EXPECT_EQ(t.rows.Shown(), (std::vector<std::string>{"0 2024 +", "0 2025 + *"}));
    EXPECT_TRUE(t.tree.KeyDown(kKeyLeft));  // collapsed year, no parent: nothing
    EXPECT_EQ(t.rows.Shown(), (std::vector<std::string>{"0 2024 +", "0 2025 + *"}));
}

TEST(TreeListKeys, RightExpandsThenStepsToTheFirstChild) {
    TwoYears t;
    t.SelectItem(t.y2025);
    EXPECT_TRUE(t.tree.KeyDown(kKeyRight));
    EXPECT_EQ(t.rows.Shown(), (std::vector<std::string>{"0 2024 +", "0 2025 - *", "1 Januar +", "1 Februar +"}));
    EXPECT_TRUE(t.tree.KeyDown(kKeyRight));
    EXPECT_EQ(t.rows.SelectedRow(), t.RowOf(t.jan));
    t.tree.KeyDown(kKeyRight);  // expands January
    t.tree.KeyDown(kKeyRight);
    EXPECT_EQ(t.rows.SelectedRow(), t.RowOf(t.jan1));
    // A day has no children: the first press only marks it, the second does nothing.
    t.tree.KeyDown(kKeyRight);
    EXPECT_FALSE(t.tree.items()[t.jan1].bCollapsed);
    t.tree.KeyDown(kKeyRight);
    EXPECT_EQ(t.rows.SelectedRow(), t.RowOf(t.jan1));
    EXPECT_EQ(t.rows.rows.size(), 7u);
}

TEST(TreeListKeys, AddAndSubtractOnlyActOneWay) {
    TwoYears t;
    t.SelectItem(t.y2025);
    EXPECT_TRUE(t.tree.KeyDown(kKeySubtract));  // collapsed: nothing, but consumed
    EXPECT_EQ(t.rows.rows.size(), 2u);
    EXPECT_TRUE(t.tree.KeyDown(kKeyAdd));
    EXPECT_EQ(t.rows.rows.size(), 4u);
    EXPECT_TRUE(t.tree.KeyDown(kKeyAdd));  // expanded: nothing, still consumed
    EXPECT_EQ(t.rows.rows.size(), 4u);
    EXPECT_TRUE(t.tree.KeyDown(kKeySubtract));
    EXPECT_EQ(t.rows.rows.size(), 2u);
}

TEST(TreeListKeys, OtherKeysAndNoSelectionGoToTheListView) {
    TwoYears t;
    EXPECT_FALSE(t.tree.KeyDown(kKeyAdd));  // nothing selected
    EXPECT_EQ(t.rows.rows.size(), 2u);
    t.SelectItem(t.y2025);
    EXPECT_FALSE(t.tree.KeyDown(0x28));  // VK_DOWN
    EXPECT_FALSE(t.tree.KeyDown(0x26));  // VK_UP
    EXPECT_EQ(t.rows.rows.size(), 2u);
}

}  // namespace
}  // namespace viewer
