// For window tests of commands that run a modal loop of their own (a dialog, the Save As dialog):
// a thread timer looks for the window the command opens and acts on it from inside that loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace viewer::testing {

struct TitleSearch {
    std::string title;
    HWND found = nullptr;
};

inline BOOL CALLBACK MatchTitle(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TitleSearch*>(param);
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    if (IsWindowVisible(window) && search->title == text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of this thread with the given title, or null.
inline HWND ThreadWindowTitled(const std::string& title) {
    TitleSearch search{title};
    EnumThreadWindows(GetCurrentThreadId(), &MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Once a window titled `title` shows up (within `milliseconds`), `act` runs on it, once. Arm it
// before the command whose modal loop will show the window; `acted()` tells afterwards.
class WhenWindowShows {
public:
    WhenWindowShows(std::string title, std::function<void(HWND)> act, DWORD milliseconds = 20000)
        : title_(std::move(title)), act_(std::move(act)), deadline_(GetTickCount() + milliseconds) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 30, &WhenWindowShows::Tick);
    }
    ~WhenWindowShows() {
        if (timer_ != 0)
            KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    WhenWindowShows(const WhenWindowShows&) = delete;
    WhenWindowShows& operator=(const WhenWindowShows&) = delete;

    bool acted() const { return acted_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        WhenWindowShows* self = current_;
        if (self == nullptr || self->timer_ == 0)
            return;
        HWND window = ThreadWindowTitled(self->title_);
        const bool late = static_cast<LONG>(GetTickCount() - self->deadline_) > 0;
        if (window == nullptr && !late)
            return;
        KillTimer(nullptr, self->timer_);
        self->timer_ = 0;
        if (window != nullptr) {
            self->acted_ = true;
            self->act_(window);
        }
    }

    static inline WhenWindowShows* current_ = nullptr;
    std::string title_;
    std::function<void(HWND)> act_;
    DWORD deadline_;
    UINT_PTR timer_ = 0;
    bool acted_ = false;
};

}  // namespace viewer::testing
