// The tree-list control on a real list view, in the viewer's own dialog template.
#include "tree_list_ctrl.h"

#include <gtest/gtest.h>

#include "message_map.h"
#include "resource.h"
#include "resources.h"
#include "ui_test_support.h"
#include "window.h"

namespace viewer {
namespace {

using testing::Click;
using testing::PumpPending;

// The viewer's dialog with nothing but the tree list in it, noting what the list tells its parent.
class HostDialog : public winapp::Dialog {
public:
    HostDialog() : Dialog(IDD_HISTVIEW_DIALOG) {}

    TreeListCtrl tree;
    winapp::ImageList smallImages;
    int rightClicks = 0;
    NMTREELIST lastRightClick{};
    int keysSeenByList = 0;

protected:
    const winapp::MessageTable* Messages() const override { return &kMessages; }
    bool OnInitDialog() override {
        BindControl(tree, IDC_TREELIST);
        tree.InsertColumn(0, "Date", LVCFMT_LEFT, 130);
        for (const char* caption : {"Onlinetime", "Up&Download", "Upload", "Download"}) {
            tree.InsertColumn(1, caption, LVCFMT_RIGHT, 80);
        }
        smallImages = winapp::LoadImageList(winapp::ResourceInstance(), IDB_SMALL_IMAGES, 16, 1, RGB(255, 0, 255));
        tree.SetImageList(smallImages.get(), LVSIL_SMALL);
        return true;
    }

private:
    static const winapp::MessageMap<HostDialog> kMessages;

    LRESULT OnRightClick(NMHDR* header) {
        ++rightClicks;
        const auto* notification = reinterpret_cast<const NMTREELIST*>(header);
        lastRightClick.hdr = notification->hdr;
        lastRightClick.nLevel = notification->nLevel;
        lastRightClick.nIndent = notification->nIndent;
        lastRightClick.nIndex = notification->nIndex;
        lastRightClick.texts = notification->texts;
        return 0;
    }
    LRESULT OnListKey(NMHDR*) {
        ++keysSeenByList;
        return 0;
    }
};

const winapp::MessageMap<HostDialog> HostDialog::kMessages = {
    winapp::OnNotify(IDC_TREELIST, kTreeListRightClick16, &HostDialog::OnRightClick),
    winapp::OnNotify(IDC_TREELIST, static_cast<WORD>(LVN_KEYDOWN), &HostDialog::OnListKey),
};

struct Row {
    LPARAM param;
    int indent;
    int image;
    UINT state;
    std::string text;
};

class TreeListCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        winapp::SetResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        ASSERT_TRUE(host.Create());
        list = host.tree.hwnd();

        y2024 = host.tree.InsertTreeItem("2024", 0, 0);
        host.tree.InsertTreeItem("December", 1, 1);
        host.tree.InsertTreeItem("12/31/2024", 3, 2);
        y2025 = host.tree.InsertTreeItem("2025", 0, 0);
        jan = host.tree.InsertTreeItem("January", 1, 1);
        host.tree.SetTreeItemText(jan, 3, "01/2025");
        jan1 = host.tree.InsertTreeItem("01/01/2025", 3, 2);
        host.tree.SetTreeItemText(jan1, 1, "1.00 MB");
        host.tree.SetTreeItemText(jan1, 4, "0:01:00");
        sum = host.tree.InsertTreeItem("Sum", 4, 2);
        feb = host.tree.InsertTreeItem("February", 1, 1);
        host.tree.InsertTreeItem("02/01/2025", 2, 2);
        host.tree.ExpandTreeItem(y2025);
        PumpPending();
    }

    int RowCount() const { return ListView_GetItemCount(list); }

    Row RowAt(int row) const {
        char text[256] = {};
        LVITEMA item{};
        item.mask = LVIF_PARAM | LVIF_INDENT | LVIF_IMAGE | LVIF_STATE | LVIF_TEXT;
        item.iItem = row;
        item.stateMask = LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_FOCUSED;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return {item.lParam, item.iIndent, item.iImage, item.state, text};
    }

    int RowOf(int item) const {
        LVFINDINFOA find{};
        find.flags = LVFI_PARAM;
        find.lParam = item;
        return static_cast<int>(
            SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (int row = 0; row < RowCount(); ++row)
            out.push_back(RowAt(row).text);
        return out;
    }

    RECT RowRect(int row, int part) const {
        RECT rect{};
        rect.left = part;
        SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }

    void Select(int row) {
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    int Selected() const { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }
    void Key(UINT key) { SendMessageA(list, WM_KEYDOWN, key, 1); }

    HostDialog host;
    HWND list = nullptr;
    int y2024 = 0, y2025 = 0, jan = 0, jan1 = 0, sum = 0, feb = 0;
};

TEST_F(TreeListCtrlTest, AttachingSetsFullRowSelectAndTheExpandBoxes) {
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_FULLROWSELECT);
    HIMAGELIST boxes = ListView_GetImageList(list, LVSIL_STATE);
    ASSERT_NE(boxes, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(boxes), 2);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(boxes, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
}

TEST_F(TreeListCtrlTest, RowsAfterTheFillCarryItemIndexIndentImageAndBox) {
    ASSERT_EQ(RowCount(), 4);
    const Row expected[] = {{y2024, 0, 0, 0x1000, "2024"},
                            {y2025, 0, 0, 0x2000, "2025"},
                            {jan, 1, 1, 0x1000, "January"},
                            {feb, 1, 1, 0x1000, "February"}};
    for (int row = 0; row < 4; ++row) {
        const Row actual = RowAt(row);
        EXPECT_EQ(actual.param, expected[row].param) << row;
        EXPECT_EQ(actual.indent, expected[row].indent) << row;
        EXPECT_EQ(actual.image, expected[row].image) << row;
        EXPECT_EQ(actual.state & LVIS_STATEIMAGEMASK, expected[row].state) << row;
        EXPECT_EQ(actual.text, expected[row].text) << row;
    }
    char text[64] = {};
    ListView_GetItemText(list, 2, 3, text, sizeof text);
    EXPECT_STREQ(text, "01/2025");
}

TEST_F(TreeListCtrlTest, ClicksToggleOnlyOnTheBoxAndIcon) {
    const int row = RowOf(jan);
    const RECT bounds = RowRect(row, LVIR_BOUNDS);
    const RECT label = RowRect(row, LVIR_LABEL);
    const int y = (bounds.top + bounds.bottom) / 2;
    ASSERT_GT(label.left, 2 * 16) << "indent, box and icon lie left of the label";

    Click(list, 8, y);  // in the indentation
    EXPECT_EQ(RowCount(), 4);
    Click(list, label.left + 4, y);  // on the label
    EXPECT_EQ(RowCount(), 4);
    Click(list, 16 + 8, y);  // on the box
    EXPECT_EQ(Texts(), (std::vector<std::string>{"2024", "2025", "January", "01/01/2025", "Sum", "February"}));
    EXPECT_EQ(RowAt(row).state & LVIS_STATEIMAGEMASK, 0x2000u);
    char text[64] = {};
    ListView_GetItemText(list, 3, 4, text, sizeof text);
    EXPECT_STREQ(text, "0:01:00");
    Click(list, label.left - 4, y);  // on the icon
    EXPECT_EQ(RowCount(), 4);
    EXPECT_EQ(RowAt(row).state & LVIS_STATEIMAGEMASK, 0x1000u);

    Click(list, 20, RowRect(RowCount() - 1, LVIR_BOUNDS).bottom + 40);  // below the last row
    EXPECT_EQ(RowCount(), 4);
}

TEST_F(TreeListCtrlTest, RightClicksReportTheRowToTheParent) {
    host.tree.ExpandTreeItem(jan);
    const struct {
        int item;
        int indent;
        const char* text;
    } cases[] = {{y2025, 0, "2025"}, {jan, 1, "January"}, {jan1, 2, "01/01/2025"}, {sum, 2, "Sum"}};
    int expectedClicks = 0;
    for (const auto& c : cases) {
        const RECT label = RowRect(RowOf(c.item), LVIR_LABEL);
        Click(list, label.left + 10, (label.top + label.bottom) / 2, true);
        ASSERT_EQ(host.rightClicks, ++expectedClicks) << c.text;
        EXPECT_EQ(host.lastRightClick.hdr.code, TLN_RCLICK);
        EXPECT_EQ(host.lastRightClick.hdr.idFrom, static_cast<UINT_PTR>(IDC_TREELIST));
        EXPECT_EQ(host.lastRightClick.nIndent, c.indent) << c.text;
        EXPECT_EQ(host.lastRightClick.nIndex, c.item) << c.text;
        ASSERT_EQ(host.lastRightClick.texts.size(), 5u);
        EXPECT_EQ(host.lastRightClick.texts[0], c.text);
    }
    EXPECT_EQ(host.lastRightClick.texts[0], "Sum");

    Click(list, 20, RowRect(RowCount() - 1, LVIR_BOUNDS).bottom + 40, true);
    EXPECT_EQ(host.rightClicks, expectedClicks);
}

TEST_F(TreeListCtrlTest, ArrowKeysMoveAlongTheTreeWithoutTheListSeeingThem) {
    Select(RowOf(feb));
    Key(VK_LEFT);  // collapsed month: its year
    EXPECT_EQ(Selected(), RowOf(y2025));
    Key(VK_RIGHT);  // expanded year: its first month
    EXPECT_EQ(Selected(), RowOf(jan));
    Key(VK_RIGHT);  // collapsed month: expand
    EXPECT_EQ(RowCount(), 6);
    Key(VK_LEFT);  // expanded month: collapse
    EXPECT_EQ(RowCount(), 4);
    EXPECT_EQ(host.keysSeenByList, 0);

    Select(RowOf(y2024));
    Key(VK_LEFT);  // collapsed year: nothing
    EXPECT_EQ(Selected(), RowOf(y2024));
    EXPECT_EQ(host.keysSeenByList, 0);
}

TEST_F(TreeListCtrlTest, AddAndSubtractNeverReachTheList) {
    Select(RowOf(y2025));
    Key(VK_ADD);  // expanded: nothing
    EXPECT_EQ(RowCount(), 4);
    Key(VK_SUBTRACT);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"2024", "2025"}));
    Key(VK_SUBTRACT);  // collapsed: nothing
    Key(VK_ADD);
    EXPECT_EQ(RowCount(), 4);
    EXPECT_EQ(host.keysSeenByList, 0);

    Key(VK_DOWN);  // other keys are the list's
    EXPECT_EQ(host.keysSeenByList, 1);
    EXPECT_EQ(Selected(), RowOf(jan));

    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    Key(VK_ADD);  // nothing selected: the list's
    EXPECT_EQ(host.keysSeenByList, 2);
}

TEST_F(TreeListCtrlTest, StarOpensTheWholeYear) {
    Select(RowOf(y2024));
    SendMessageA(list, WM_CHAR, '*', 1);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"2024", "December", "12/31/2024", "2025", "January", "February"}));
    EXPECT_EQ(RowAt(RowOf(y2024 + 1)).state & LVIS_STATEIMAGEMASK, 0x2000u);
    EXPECT_EQ(RowAt(RowOf(y2024 + 2)).indent, 2);
}

// The list asks for the texts that rows do not hold, in the form its parent chose: both are answered,
// cut to the room given, and a row the list does not have gets an empty text.
TEST_F(TreeListCtrlTest, TextsAskedForComeFromTheItemsInEitherForm) {
    winapp::Control& control = host.tree;
    LRESULT result = 1;

    char narrow[4] = "xxx";
    NMLVDISPINFOA askedA{};
    askedA.hdr = {list, IDC_TREELIST, static_cast<UINT>(LVN_GETDISPINFOA)};
    askedA.item.mask = LVIF_TEXT;
    askedA.item.iItem = RowOf(jan);
    askedA.item.iSubItem = 3;
    askedA.item.pszText = narrow;
    askedA.item.cchTextMax = sizeof narrow;
    ASSERT_TRUE(control.ReflectNotify(&askedA.hdr, result));
    EXPECT_STREQ(narrow, "01/");

    wchar_t wide[16] = L"xxx";
    NMLVDISPINFOW askedW{};
    askedW.hdr = {list, IDC_TREELIST, static_cast<UINT>(LVN_GETDISPINFOW)};
    askedW.item.mask = LVIF_TEXT;
    askedW.item.iItem = RowOf(jan);
    askedW.item.iSubItem = 3;
    askedW.item.pszText = wide;
    askedW.item.cchTextMax = 16;
    ASSERT_TRUE(control.ReflectNotify(&askedW.hdr, result));
    EXPECT_STREQ(wide, L"01/2025");

    askedW.item.iItem = RowCount();
    ASSERT_TRUE(control.ReflectNotify(&askedW.hdr, result));
    EXPECT_STREQ(wide, L"");
}

// Counts the messages sent on this thread while it lives, as the menu library's hook sees them.
class SentMessages {
public:
    SentMessages() {
        count_ = 0;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Count, nullptr, GetCurrentThreadId());
    }
    ~SentMessages() {
        if (hook_ != nullptr)
            UnhookWindowsHookEx(hook_);
    }
    SentMessages(const SentMessages&) = delete;
    SentMessages& operator=(const SentMessages&) = delete;
    bool ok() const { return hook_ != nullptr; }
    int count() const { return count_; }

private:
    static LRESULT CALLBACK Count(int code, WPARAM wParam, LPARAM lParam) {
        if (code == 0)
            ++count_;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int count_ = 0;
    HHOOK hook_ = nullptr;
};

// Every message sent passes the menu library's hook, which costs dearly under Wine: a fill must
// cost messages only for the rows it makes, however many items lie hidden under them.
TEST_F(TreeListCtrlTest, AFillSendsNothingForItemsWithoutRows) {
    const auto fill = [this](int hiddenDays) {
        SentMessages sent;
        EXPECT_TRUE(sent.ok());
        host.tree.DeleteAllTreeItems();
        host.tree.InsertTreeItem("2030", 0, 0);
        host.tree.InsertTreeItem("January", 1, 1);
        for (int day = 0; day < hiddenDays; ++day) {
            const std::int32_t item = host.tree.InsertTreeItem("01/01/2030", 3, 2);
            for (int column = 1; column <= 4; ++column)
                host.tree.SetTreeItemText(item, column, "1.0 MB");
        }
        host.tree.InsertTreeItem("2031", 0, 0);
        return sent.count();
    };
    fill(1);  // each fill below then removes the same rows first
    const int few = fill(1);
    const int many = fill(2000);
    EXPECT_GT(few, 0) << "the year rows are made by messages";
    EXPECT_EQ(many, few);
    EXPECT_EQ(host.tree.items().size(), 2003u);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"2030", "2031"}));
}

TEST_F(TreeListCtrlTest, ClearingTheListSendsNothingPerRow) {
    const auto clear = [this](int years) {
        for (int year = 0; year < years; ++year)
            host.tree.InsertTreeItem(std::to_string(2030 + year), 0, 0);
        EXPECT_EQ(RowCount(), years);
        SentMessages counter;
        EXPECT_TRUE(counter.ok());
        host.tree.DeleteAllTreeItems();
        EXPECT_EQ(RowCount(), 0);
        return counter.count();
    };
    host.tree.DeleteAllTreeItems();
    EXPECT_EQ(clear(90), clear(40));  // both more than the list shows at once
}

// Rows shown cost messages, but each new row no more than the one the list itself sends for it.
TEST_F(TreeListCtrlTest, OpeningAYearWithStarCostsAMessagePerRowAtMost) {
    const auto star = [this](int days) {
        host.tree.DeleteAllTreeItems();
        const std::int32_t year = host.tree.InsertTreeItem("2030", 0, 0);
        host.tree.InsertTreeItem("January", 1, 1);
        for (int day = 0; day < days; ++day) {
            const std::int32_t item = host.tree.InsertTreeItem("01/01/2030", 3, 2);
            for (int column = 1; column <= 4; ++column)
                host.tree.SetTreeItemText(item, column, "1.0 MB");
        }
        Select(RowOf(year));
        PumpPending();
        SentMessages counter;
        EXPECT_TRUE(counter.ok());
        SendMessageA(list, WM_CHAR, '*', 1);
        EXPECT_EQ(RowCount(), days + 2);
        return counter.count();
    };
    const int few = star(100);
    const int many = star(300);
    EXPECT_LE(many - few, 200 + 5);
    char text[64] = {};
    ListView_GetItemText(list, 301, 4, text, sizeof text);
    EXPECT_STREQ(text, "1.0 MB");
}

TEST_F(TreeListCtrlTest, ItemsTakeOneTextPerColumnOfTheHeaderAsItIsNow) {
    const std::int32_t before = host.tree.InsertTreeItem("2026", 0, 0);
    ASSERT_NE(host.tree.InsertColumn(5, "Extra", LVCFMT_RIGHT, 40), -1);
    const std::int32_t wider = host.tree.InsertTreeItem("2027", 0, 0);
    ASSERT_TRUE(ListView_DeleteColumn(list, 5));
    ASSERT_TRUE(ListView_DeleteColumn(list, 4));
    const std::int32_t narrower = host.tree.InsertTreeItem("2028", 0, 0);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 40;
    column.pszText = const_cast<wchar_t*>(L"Wide");
    ASSERT_NE(SendMessageW(list, LVM_INSERTCOLUMNW, 4, reinterpret_cast<LPARAM>(&column)), -1);
    const std::int32_t again = host.tree.InsertTreeItem("2029", 0, 0);

    EXPECT_EQ(host.tree.items()[before].texts.size(), 5u);
    EXPECT_EQ(host.tree.items()[wider].texts.size(), 6u);
    EXPECT_EQ(host.tree.items()[narrower].texts.size(), 4u);
    EXPECT_EQ(host.tree.items()[again].texts.size(), 5u);
}

}  // namespace
}  // namespace viewer
