// Figures of the viewer's start: the time from launching the process until the viewer dialog is
// filled, for an empty history and for a hundred years of daily records, and the time of '*' on
// the largest year. Figures only; nothing here passes or fails.
// Usage: viewer_bench write empty|century FOLDER      lays out FOLDER\data\volume.hst
//        viewer_bench open FOLDER [LAUNCHED]          opens the viewer dialog on it; LAUNCHED is the
//                                                     Unix time at which the caller started this process
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app_texts.h"
#include "calendar_date.h"
#include "day_record.h"
#include "resources.h"
#include "test_files.h"
#include "viewer_dialog.h"

namespace {

double UnixSeconds(const FILETIME& time) {
    ULARGE_INTEGER value{};
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7 - 11644473600.0;
}

double UnixNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return UnixSeconds(now);
}

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
    std::ofstream(folder + "\\data\\volume.hst", std::ios::binary | std::ios::trunc) << history::RecordBytes(records);
    return 0;
}

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1e3 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int Open(const std::string& folder, double launched) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    winapp::SetResourceLanguage(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
    history::SetAppTextLoader(&winapp::LoadText);

    viewer::ViewerDialog dialog(folder + "\\histview.exe");
    dialog.Create();
    const double filled = UnixNow();
    HWND list = GetDlgItem(dialog.hwnd(), IDC_TREELIST);
    std::printf("%6zu items, %3d rows: filled %.3f s after launch, %.3f s after the process was created\n",
                dialog.treeList().items().size(), ListView_GetItemCount(list), launched > 0 ? filled - launched : 0.0,
                filled - UnixSeconds(created));

    // The largest year is a leap year: '*' on the last one before the expanded last year.
    int leapRow = -1;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        char text[16] = {};
        ListView_GetItemText(list, row, 0, text, sizeof text);
        if (std::strcmp(text, "2024") == 0)
            leapRow = row;
    }
    if (leapRow >= 0) {
        ListView_SetItemState(list, leapRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        SendMessageA(list, WM_CHAR, '*', 1);
        QueryPerformanceCounter(&end);
        std::printf("'*' on 2024 (366 days): %d rows shown, %.1f ms\n", ListView_GetItemCount(list),
                    Milliseconds(start, end));
    }
    dialog.Destroy();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "write") == 0)
        return Write(argv[2], argv[3]);
    if (argc >= 3 && std::strcmp(argv[1], "open") == 0)
        return Open(argv[2], argc >= 4 ? std::atof(argv[3]) : 0.0);
    std::fprintf(stderr, "usage: viewer_bench write empty|century FOLDER | open FOLDER [LAUNCHED]\n");
    return 2;
}
