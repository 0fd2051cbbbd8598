#include "message_map.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window.h"

namespace winapp {
namespace {

// A window class without a window: its map is dispatched to directly, and each handler notes
// what reached it.
class Base : public Window {
public:
    std::vector<std::string> calls;
    bool OnAny(WPARAM wParam, LPARAM, LRESULT& result) {
        calls.push_back("base " + std::to_string(wParam));
        result = 7;
        return true;
    }
    void OnBaseCommand() { calls.push_back("base command"); }
};

const MessageMap<Base> kBaseMap{
    OnMessage(WM_APP, &Base::OnAny),
    OnMessage(WM_APP + 1, &Base::OnAny),
    OnCommand(10, &Base::OnBaseCommand),
};

class Derived : public Base {
public:
    void OnOne() { calls.push_back("one"); }
    void OnRange(UINT id) { calls.push_back("range " + std::to_string(id)); }
    LRESULT OnNote(NMHDR* header) {
        calls.push_back("note " + std::to_string(header->idFrom));
        return 42;
    }
    bool OnReflected(NMHDR*) {
        calls.push_back("reflected");
        return true;
    }
    bool OnDeclined(WPARAM, LPARAM, LRESULT&) {
        calls.push_back("declined");
        return false;
    }
    bool OnFirst(WPARAM, LPARAM, LRESULT& result) {
        calls.push_back("first");
        result = 1;
        return true;
    }
    bool OnSecond(WPARAM, LPARAM, LRESULT&) {
        calls.push_back("second");
        return true;
    }
};

constexpr WORD kCode = static_cast<WORD>(NM_RCLICK);  // as a 16-bit map keeps it

const MessageMap<Derived> kDerivedMap{{
                                          OnCommand(100, &Derived::OnOne),
                                          OnCommandRange(200, 205, &Derived::OnRange),
                                          OnNotify(300, kCode, &Derived::OnNote),
                                          OnReflectedNotify(kCode, &Derived::OnReflected),
                                          OnMessage(WM_APP + 1, &Derived::OnDeclined),
                                          OnMessage(WM_APP + 2, &Derived::OnFirst),
                                          OnMessage(WM_APP + 2, &Derived::OnSecond),
                                      },
                                      &kBaseMap};

struct Sent {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What a message sent to a fresh Derived reaches, and whether it was handled.
std::vector<std::string> Dispatched(const Sent& sent, bool& handled, LRESULT& result) {
    Derived window;
    result = -1;
    handled = kDerivedMap.Dispatch(window, sent.message, sent.wParam, sent.lParam, result);
    return window.calls;
}

LPARAM Header(NMHDR& header, UINT_PTR id, UINT code) {
    header = NMHDR{nullptr, id, code};
    return reinterpret_cast<LPARAM>(&header);
}

TEST(MessageMap, CommandsMatchTheirIdOrRangeFromMenusButtonsAndAccelerators) {
    struct Case {
        WPARAM wParam;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {MAKEWPARAM(100, 0), {"one"}},
        {MAKEWPARAM(100, 1), {"one"}},  // an accelerator
        {MAKEWPARAM(100, 2), {}},       // a control's notification code is no command
        {MAKEWPARAM(101, 0), {}},
        {MAKEWPARAM(199, 0), {}},
        {MAKEWPARAM(200, 0), {"range 200"}},
        {MAKEWPARAM(203, 1), {"range 203"}},
        {MAKEWPARAM(205, 0), {"range 205"}},
        {MAKEWPARAM(206, 0), {}},
        {MAKEWPARAM(10, 0), {"base command"}},  // the base map's
    };
    for (const Case& c : cases) {
        bool handled = false;
        LRESULT result = 0;
        EXPECT_EQ(Dispatched({WM_COMMAND, c.wParam, 0}, handled, result), c.calls)
            << LOWORD(c.wParam) << " code " << HIWORD(c.wParam);
        EXPECT_EQ(handled, !c.calls.empty()) << LOWORD(c.wParam);
        if (handled)
            EXPECT_EQ(result, 0);
    }
}

TEST(MessageMap, NotificationsMatchControlAndCodeInSixteenBits) {
    NMHDR header{};
    bool handled = false;
    LRESULT result = 0;
    EXPECT_EQ(Dispatched({WM_NOTIFY, 300, Header(header, 300, NM_RCLICK)}, handled, result),
              std::vector<std::string>{"note 300"});
    EXPECT_TRUE(handled);
    EXPECT_EQ(result, 42);
    // The code as a 16-bit map stored it matches the full code of the control.
    EXPECT_EQ(Dispatched({WM_NOTIFY, 300, Header(header, 300, 0xFFFF0000u | kCode)}, handled, result).size(), 1u);
    EXPECT_TRUE(Dispatched({WM_NOTIFY, 301, Header(header, 301, NM_RCLICK)}, handled, result).empty());
    EXPECT_FALSE(handled);
    EXPECT_TRUE(Dispatched({WM_NOTIFY, 300, Header(header, 300, NM_CLICK)}, handled, result).empty());
    EXPECT_FALSE(handled);
    // Reflected back to the control: any control's, by the code alone.
    EXPECT_EQ(Dispatched({kReflectedNotify, 0, Header(header, 999, NM_RCLICK)}, handled, result),
              std::vector<std::string>{"reflected"});
    EXPECT_TRUE(Dispatched({kReflectedNotify, 0, Header(header, 999, NM_DBLCLK)}, handled, result).empty());
    EXPECT_FALSE(handled);
}

TEST(MessageMap, TheFirstEntryThatHandlesWinsAndTheRestGoOnToTheBaseMap) {
    bool handled = false;
    LRESULT result = 0;
    EXPECT_EQ(Dispatched({WM_APP + 2, 0, 0}, handled, result), std::vector<std::string>{"first"});
    EXPECT_EQ(result, 1);
    // Only in the base map.
    EXPECT_EQ(Dispatched({WM_APP, 5, 0}, handled, result), std::vector<std::string>{"base 5"});
    EXPECT_TRUE(handled);
    EXPECT_EQ(result, 7);
    // Declined by the derived map's entry: the base map's entry has it.
    EXPECT_EQ(Dispatched({WM_APP + 1, 6, 0}, handled, result), (std::vector<std::string>{"declined", "base 6"}));
    EXPECT_TRUE(handled);
    // In neither map.
    EXPECT_TRUE(Dispatched({WM_APP + 3, 0, 0}, handled, result).empty());
    EXPECT_FALSE(handled);
}

}  // namespace
}  // namespace winapp
