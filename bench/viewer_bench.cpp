// Figures of the viewer under Wine, with the menu library's hook in force as in the product: Update
// on an empty history and on a hundred years of daily records, '*' on the largest year, and a popup
// menu of 30 items with the library's frame and shadow next to a plain one. Each figure is the
// median of five rounds taken in turns within one process, so that a busy machine weighs on both
// sides of a ratio alike. Figures only; nothing here passes or fails.
// Usage: viewer_bench write empty|century FOLDER        lays out FOLDER\data\volume.hst
//        viewer_bench update EMPTY_FOLDER CENTURY_FOLDER Update on each, and '*' on the century's 2024
//        viewer_bench popup                              the 30-item popup, framed and plain
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app_texts.h"
#include "calendar_date.h"
#include "day_record.h"
#include "menu_window.h"
#include "resources.h"
#include "test_files.h"
#include "viewer_dialog.h"

namespace {

constexpr int kRounds = 5;

// Every day of the hundred years 1926..2025, one record each.
std::vector<history::DayRecord> Century() {
    std::vector<history::DayRecord> records;
    for (int year = 1926; year <= 2025; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= history::CalendarDate::DaysInMonth(month, year); ++day) {
                records.push_back(history::Day(year, month, day, 5e8 + day * 1e6, 3e7 + month * 1e5, 3600 + day));
            }
        }
    }
    return records;
}

int Write(const std::string& kind, const std::string& folder) {
    std::filesystem::create_directories(folder + "\\data");
    const std::vector<history::DayRecord> records = kind == "century" ? Century() : std::vector<history::DayRecord>{};
    std::ofstream out(folder + "\\data\\volume.hst", std::ios::binary | std::ios::trunc);
    out << history::RecordBytes(records);
    out.close();
    if (!out) {
        std::fprintf(stderr, "viewer_bench: cannot write %s\\data\\volume.hst\n", folder.c_str());
        return 1;
    }
    return 0;
}

double Milliseconds(const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return 1e3 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The menu library's hook for the scope, as the viewer installs it at start.
class MenuHook {
public:
    MenuHook() : ok_(menus::InstallMenuHook()) {}
    ~MenuHook() { menus::RemoveMenuHook(); }
    MenuHook(const MenuHook&) = delete;
    MenuHook& operator=(const MenuHook&) = delete;
    explicit operator bool() const { return ok_; }

private:
    bool ok_;
};

// ---- Update and '*'

// The Update button as the user presses it, until the window has painted what it shows now.
void PressUpdate(HWND dialog) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_UPDATE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_UPDATE)));
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

int RowOfYear(HWND list, const char* year) {
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        char text[16] = {};
        ListView_GetItemText(list, row, 0, text, sizeof text);
        if (std::strcmp(text, year) == 0)
            return row;
    }
    return -1;
}

int Update(const std::string& emptyFolder, const std::string& centuryFolder) {
    MenuHook hook;
    if (!hook) {
        std::fprintf(stderr, "viewer_bench: the menu hook could not be installed\n");
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    winapp::SetResourceLanguage(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
    history::SetAppTextLoader(&winapp::LoadText);

    viewer::ViewerDialog dialog(centuryFolder + "\\histview.exe");
    if (!dialog.Create()) {
        std::fprintf(stderr, "viewer_bench: the viewer dialog could not be created\n");
        return 1;
    }
    ShowWindow(dialog.hwnd(), SW_SHOW);
    PumpPending();
    HWND list = GetDlgItem(dialog.hwnd(), IDC_TREELIST);

    std::vector<double> empty, century, star;
    std::size_t centuryItems = 0;
    int centuryRows = 0, starRows = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Each Update is timed on the list as the previous Update of the same history left it.
        SetCurrentDirectoryA(emptyFolder.c_str());
        PressUpdate(dialog.hwnd());
        empty.push_back(Milliseconds([&] { PressUpdate(dialog.hwnd()); }));

        SetCurrentDirectoryA(centuryFolder.c_str());
        PressUpdate(dialog.hwnd());
        century.push_back(Milliseconds([&] { PressUpdate(dialog.hwnd()); }));
        centuryItems = dialog.treeList().items().size();
        centuryRows = ListView_GetItemCount(list);

        // The largest year is a leap year: '*' on the last one before the expanded last year.
        const int leapRow = RowOfYear(list, "2024");
        if (leapRow < 0) {
            std::fprintf(stderr, "viewer_bench: the century shows no year 2024\n");
            return 1;
        }
        ListView_SetItemState(list, leapRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        PumpPending();
        star.push_back(Milliseconds([&] {
            SendMessageA(list, WM_CHAR, '*', 1);
            RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW);
        }));
        starRows = ListView_GetItemCount(list);
        PumpPending();
    }
    // What one message costs here, with the hook and without: the figures above scale with it.
    const auto perMessage = [list] {
        constexpr int kMessages = 1000;
        return Milliseconds([list] {
                   for (int i = 0; i < kMessages; ++i)
                       SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
               }) *
               1e3 / kMessages;
    };
    const double hooked = perMessage();
    menus::RemoveMenuHook();
    const double plain = perMessage();
    dialog.Destroy();

    const double e = Median(empty), c = Median(century);
    std::printf("Update, until repainted (median of %d, in turns):\n", kRounds);
    std::printf("  empty history         %8.1f ms\n", e);
    std::printf("  century (%zu items, %d rows) %8.1f ms\n", centuryItems, centuryRows, c);
    std::printf("  century / empty       %8.2f   (goal: at most 1.5)\n", e > 0 ? c / e : 0.0);
    std::printf("'*' on 2024 (366 days, %d rows shown after it), until repainted: %.1f ms (goal: under 100 ms)\n",
                starRows, Median(star));
    std::printf("A message sent to the list: %.1f us with the menu hook, %.1f us without\n", hooked, plain);
    return 0;
}

// ---- a popup of 30 items

constexpr int kPopupItems = 30;

// What the owner does while the popup runs: on the first idle moment (the popup is shown and
// painted) it queues the moves to the last item and Escape; the popup then walks and closes.
struct PopupDriver {
    HWND menuWindow = nullptr;
    bool queued = false;
    std::function<void(HWND)> atIdle;  // runs once, with the popup's window, before the keys are queued
};
PopupDriver g_driver;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU && !g_driver.queued) {
        g_driver.queued = true;
        g_driver.menuWindow = reinterpret_cast<HWND>(lParam);
        if (g_driver.atIdle)
            g_driver.atIdle(g_driver.menuWindow);
        for (int i = 1; i < kPopupItems; ++i)
            PostMessageA(window, WM_KEYDOWN, VK_DOWN, 1);
        PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
        return 0;
    }
    if (message == WM_TIMER) {
        // A popup that no key reaches is closed rather than waited for.
        KillTimer(window, wParam);
        EndMenu();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Opens the popup, lets the driver walk it, and returns how long it was open; < 0 when the keys
// did not reach it.
double RunPopup(HWND owner, HMENU popup, std::function<void(HWND)> atIdle = nullptr) {
    g_driver = PopupDriver{};
    g_driver.atIdle = std::move(atIdle);
    SetTimer(owner, 1, 10000, nullptr);
    SetForegroundWindow(owner);
    const double ms =
        Milliseconds([&] { TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RETURNCMD, 60, 40, 0, owner, nullptr); });
    KillTimer(owner, 1);
    PumpPending();
    return g_driver.queued ? ms : -1.0;
}

// Counts the messages sent on this thread while it lives, and among them the frame paints of menu
// windows.
class SentCounter {
public:
    SentCounter() {
        messages_ = 0;
        framePaints_ = 0;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Proc, nullptr, GetCurrentThreadId());
    }
    ~SentCounter() {
        if (hook_ != nullptr)
            UnhookWindowsHookEx(hook_);
    }
    SentCounter(const SentCounter&) = delete;
    SentCounter& operator=(const SentCounter&) = delete;
    int messages() const { return hook_ != nullptr ? messages_ : -1; }
    int framePaints() const { return hook_ != nullptr ? framePaints_ : -1; }

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == 0) {
            ++messages_;
            char name[20] = {};
            if (call->message == WM_NCPAINT && GetClassNameA(call->hwnd, name, sizeof name) == 6 &&
                std::strcmp(name, "#32768") == 0)
                ++framePaints_;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int messages_ = 0;
    static inline int framePaints_ = 0;
    HHOOK hook_ = nullptr;
};

// What one message sent to `window` costs, in microseconds.
double MessageMicroseconds(HWND window) {
    constexpr int kMessages = 1000;
    return Milliseconds([window] {
               for (int i = 0; i < kMessages; ++i)
                   SendMessageA(window, WM_NULL, 0, 0);
           }) *
           1e3 / kMessages;
}

int Popup() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "ViewerBenchOwner";
    if (RegisterClassA(&windowClass) == 0) {
        std::fprintf(stderr, "viewer_bench: cannot register the owner's window class\n");
        return 1;
    }
    HWND owner = CreateWindowExA(0, windowClass.lpszClassName, "viewer_bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 400, 700, nullptr, nullptr, windowClass.hInstance, nullptr);
    HMENU popup = CreatePopupMenu();
    if (owner == nullptr || popup == nullptr) {
        std::fprintf(stderr, "viewer_bench: cannot make the owner window or the popup\n");
        return 1;
    }
    for (int i = 1; i <= kPopupItems; ++i) {
        const std::string text = "Menu item " + std::to_string(i);
        AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(100 + i), text.c_str());
    }
    UpdateWindow(owner);
    PumpPending();

    std::vector<double> plain, framed;
    for (int round = 0; round < kRounds; ++round) {
        plain.push_back(RunPopup(owner, popup));
        MenuHook hook;
        if (!hook) {
            std::fprintf(stderr, "viewer_bench: the menu hook could not be installed\n");
            return 1;
        }
        framed.push_back(RunPopup(owner, popup));
    }
    if (*std::min_element(plain.begin(), plain.end()) < 0 || *std::min_element(framed.begin(), framed.end()) < 0) {
        std::fprintf(stderr, "viewer_bench: the popup did not take the keys\n");
        return 1;
    }

    // What a popup sends, how often a framed popup's frame is painted, and what its shadow costs:
    // the library's own shadow routine, and the shadow's pixels set one by one and nothing else.
    int plainMessages = -1;
    {
        SentCounter counter;
        RunPopup(owner, popup);
        plainMessages = counter.messages();
    }
    const double plainMessage = MessageMicroseconds(owner);
    int framedMessages = -1, framePaints = -1;
    double hookedMessage = 0;
    RECT rect{};
    double libraryShadow = 0, pixelsOnly = 0;
    bool systemShadow = false;
    {
        MenuHook hook;
        hookedMessage = MessageMicroseconds(owner);
        SentCounter counter;
        RunPopup(owner, popup, [&](HWND menuWindow) {
            GetWindowRect(menuWindow, &rect);
            SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &systemShadow, 0);
            HDC dc = GetWindowDC(menuWindow);
            if (dc == nullptr)
                return;
            const int w = rect.right - rect.left, h = rect.bottom - rect.top;
            libraryShadow = Milliseconds([&] { menus::DrawMenuShadow(menuWindow, dc); });
            const COLORREF colour = GetPixel(dc, w - 1, h / 2);
            pixelsOnly = Milliseconds([&] {
                for (int k = 1; k <= 4; ++k) {
                    for (int y = 0; y < h; ++y)
                        SetPixelV(dc, w - k, y, colour);
                    for (int x = 0; x < w - 4; ++x)
                        SetPixelV(dc, x, h - k, colour);
                }
            });
            ReleaseDC(menuWindow, dc);
        });
        framedMessages = counter.messages();
        framePaints = counter.framePaints();
    }
    DestroyMenu(popup);
    DestroyWindow(owner);

    const double p = Median(plain), f = Median(framed);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    std::printf("Popup of %d items, opened, walked to the last item and closed (median of %d, in turns):\n",
                kPopupItems, kRounds);
    std::printf("  plain                      %8.1f ms\n", p);
    std::printf("  library's frame and shadow %8.1f ms  (%.2fx plain, %+.1f ms)\n", f, p > 0 ? f / p : 0.0, f - p);
    std::printf(
        "  window %d x %d, system shadow %s; %d frame paints per popup (the library draws frame and shadow\n"
        "  twice in each that it paints itself)\n",
        w, h, systemShadow ? "on" : "off", framePaints);
    std::printf("  one shadow: the library's %.2f ms; its %d pixels alone %.2f ms\n", libraryShadow, 4 * (w + h - 4),
                pixelsOnly);
    std::printf("  plain + the shadow's pixels twice in every frame paint: %.1f ms\n",
                p + pixelsOnly * 2 * std::max(framePaints, 0));
    std::printf(
        "  messages sent per popup: plain %d, framed %d; a message costs %.1f us with the hook and %.1f us\n"
        "  without, so the framed popup's messages spend about %.1f ms in the hook\n",
        plainMessages, framedMessages, hookedMessage, plainMessage,
        std::max(framedMessages, 0) * (hookedMessage - plainMessage) / 1e3);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "write") == 0)
        return Write(argv[2], argv[3]);
    if (argc >= 4 && std::strcmp(argv[1], "update") == 0)
        return Update(argv[2], argv[3]);
    if (argc >= 2 && std::strcmp(argv[1], "popup") == 0)
        return Popup();
    std::fprintf(stderr,
                 "usage: viewer_bench write empty|century FOLDER | update EMPTY_FOLDER CENTURY_FOLDER | popup\n");
    return 2;
}
