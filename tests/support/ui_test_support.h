// Helpers of the viewer's window tests: message pumping with a deadline, mouse and key input sent
// straight to a window, and a history folder laid out as the program expects it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "day_record.h"
#include "dpi.h"
#include "test_files.h"

namespace viewer::testing {

// The screen's DPI for the tests that check sizes scaled by it. A run meant for another DPI than 96
// names it in LUMETRA_EXPECT_DPI: a screen of another DPI then fails the test instead of letting
// it pass at 96.
inline UINT TestDpi() {
    const UINT dpi = winapp::ScreenDpi();
    char wanted[16] = {};
    if (GetEnvironmentVariableA("LUMETRA_EXPECT_DPI", wanted, sizeof wanted) > 0) {
        EXPECT_EQ(dpi, static_cast<UINT>(std::atoi(wanted))) << "the screen's DPI";
    }
    return dpi;
}

// Within a pixel of `pixels` at 96 DPI scaled to `dpi`.
inline bool ScaledWithinAPixel(int actual, int pixels, UINT dpi) {
    return std::abs(actual - winapp::Scaled(pixels, dpi)) <= 1;
}

// Handles pending messages until `done` holds or the deadline passes; whether it holds.
inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 5000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (!done())
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

inline void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A click at a client position of `window`: the release is queued first, so the control's own
// tracking of the pressed button ends at once.
inline void Click(HWND window, int x, int y, bool right = false) {
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageA(window, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
    SendMessageA(window, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
    PumpPending();
}

// A folder with data\volume.hst, removed with everything in it at the end of the scope.
class InstallFolder {
public:
    InstallFolder() {
        static int serial = 0;
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "histview_test_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(serial++);
        std::filesystem::create_directories(path_ + "\\data");
    }
    ~InstallFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    InstallFolder(const InstallFolder&) = delete;
    InstallFolder& operator=(const InstallFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string ProgramPath() const { return path_ + "\\histview.exe"; }
    std::string HistoryPath() const { return path_ + "\\data\\volume.hst"; }
    std::string BackupPath() const { return path_ + "\\data\\volume.hst_backup"; }

    void WriteHistory(const std::vector<history::DayRecord>& records) const {
        std::ofstream(HistoryPath(), std::ios::binary | std::ios::trunc) << history::RecordBytes(records);
    }
    void AppendHistory(const std::vector<history::DayRecord>& records) const {
        std::ofstream(HistoryPath(), std::ios::binary | std::ios::app) << history::RecordBytes(records);
    }

private:
    std::string path_;
};

inline std::uintmax_t FileSize(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

}  // namespace viewer::testing
