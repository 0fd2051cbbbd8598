#include "watcher_window.h"

#include <shellapi.h>
#include <wininet.h>

namespace linkwait {
namespace {
const char kWindowClass[] = "LumetraLinkWait";
}

WatcherWindow::WatcherWindow(std::string programPath, std::string probeAddress)
    : watcher_(*this, std::move(programPath)), probeAddress_(std::move(probeAddress)) {}

bool WatcherWindow::Create() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
    // Never shown: it only keeps the timer and the message loop.
    return CreateWindowExA(0, kWindowClass, "linkwait", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                           windowClass.hInstance, this) != nullptr;
}

LRESULT CALLBACK WatcherWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<WatcherWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = window;
    }
    auto* self = reinterpret_cast<WatcherWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr) {
        if (message == WM_CREATE)
            self->watcher_.Start();
        else if (message == WM_TIMER && wParam == kLaunchTimerId)
            self->watcher_.OnLaunchTimer();
        else if (message == WM_DESTROY)
            PostQuitMessage(0);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI WatcherWindow::ProbeThread(LPVOID self) {
    static_cast<WatcherWindow*>(self)->watcher_.ProbeLoop();
    return 0;
}

void WatcherWindow::StartProbeThread() {
    probeThread_ = CreateThread(nullptr, 0, ProbeThread, this, 0, nullptr);
}

void WatcherWindow::CloseProbeThread() {
    if (probeThread_ != nullptr)
        CloseHandle(probeThread_);
    probeThread_ = nullptr;
}

void WatcherWindow::Sleep(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

void WatcherWindow::SetLaunchTimer(unsigned id, unsigned period) {
    SetTimer(hwnd_, id, period, nullptr);
}

void WatcherWindow::KillLaunchTimer(unsigned id) {
    KillTimer(hwnd_, id);
}

bool WatcherWindow::ProbeConnection() {
    return InternetCheckConnectionA(probeAddress_.c_str(), FLAG_ICC_FORCE_CONNECTION, 0) != 0;
}

void WatcherWindow::Launch(const LaunchRequest& request) {
    SHELLEXECUTEINFOA start{};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOCLOSEPROCESS;
    start.lpVerb = "";
    start.lpFile = request.file.c_str();
    start.lpDirectory = request.directory.empty() ? nullptr : request.directory.c_str();
    start.nShow = SW_SHOWNORMAL;
    start.lpClass = "";
    // Whether it started is not looked at; the monitor's process is not watched.
    if (ShellExecuteExA(&start) && start.hProcess != nullptr)
        CloseHandle(start.hProcess);
}

}  // namespace linkwait
