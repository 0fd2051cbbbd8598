// A stand-in for the traffic monitor in the viewer's tests. Like the monitor it holds the named
// mutex, marks its main window with the window property, and on the exit command saves to the
// history file and quits. It notes what it did in a log file.
// Usage: standin_monitor HISTORY_FILE LOG_FILE
#include <windows.h>

#include <cstdio>
#include <string>

#include "day_record.h"
#include "monitor_contract.h"

namespace {

std::string g_history;
std::string g_log;

void Note(const std::string& line) {
    if (std::FILE* log = std::fopen(g_log.c_str(), "ab")) {
        std::fprintf(log, "%s\n", line.c_str());
        std::fclose(log);
    }
}

// What the monitor does on its way out: the running day goes to the end of the history.
void SaveRunningDay() {
    history::DayRecord day;
    day.year = 2026;
    day.month = 12;
    day.day = 24;
    day.onlineSeconds = 4242;
    day.downloadBytes = 4242;
    day.uploadBytes = 42;
    unsigned char bytes[history::kDayRecordSize];
    history::EncodeDayRecord(day, bytes);
    std::FILE* file = std::fopen(g_history.c_str(), "ab");
    const bool written = file != nullptr && std::fwrite(bytes, sizeof bytes, 1, file) == 1;
    if (file != nullptr)
        std::fclose(file);
    Note(written ? "saved" : "could not save");
}

LRESULT CALLBACK MonitorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == monitor::kExitCommandId) {
                Note("exit command");
                SaveRunningDay();
                DestroyWindow(window);
                return 0;
            }
            break;
        case WM_TIMER:  // nobody asked in time: end anyway
            Note("timed out");
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            RemovePropA(window, monitor::kWindowProperty);
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: standin_monitor HISTORY_FILE LOG_FILE\n");
        return 2;
    }
    g_history = argv[1];
    g_log = argv[2];

    HANDLE mutex = CreateMutexA(nullptr, FALSE, monitor::kMutexName);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = MonitorProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "LumetraProStandIn";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("LumetraProStandIn", "Lumetra Pro", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
    if (mutex == nullptr || window == nullptr) {
        Note("could not start");
        return 1;
    }
    SetPropA(window, monitor::kWindowProperty, reinterpret_cast<HANDLE>(1));
    SetTimer(window, 1, 60000, nullptr);
    Note("running");

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    CloseHandle(mutex);
    Note("ended");
    return 0;
}
