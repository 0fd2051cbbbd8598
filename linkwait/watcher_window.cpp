#include "watcher_window.h"

#include <shellapi.h>
#include <wininet.h>

namespace linkwait {
namespace {
const char kWindowClass[] = "LumetraLinkWait";
}

bool InternetProbe::Check() {
    return InternetCheckConnectionA(address_.c_str(), FLAG_ICC_FORCE_CONNECTION, 0) != 0;
}

void InternetProbe::Pause(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

WatcherWindow::WatcherWindow(std::string programPath, std::string probeAddress)
    : watcher_(*this, std::make_shared<InternetProbe>(std::move(probeAddress)), std::move(programPath)) {}

bool WatcherWindow::Create() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassA(&windowClass) == 0)
        return false;
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
        if (message == WM_CREATE) {
            if (!self->watcher_.Start())
                return -1;  // no window: the watcher ends
        } else if (message == WM_TIMER && wParam == kLaunchTimerId) {
            if (self->watcher_.OnLaunchTimer() == Tick::kLaunchFailed) {
                // The system has shown why; a watcher that started nothing has nothing left to do.
                self->launchFailed_ = true;
                DestroyWindow(window);
                return 0;
            }
        } else if (message == WM_DESTROY) {
            PostQuitMessage(0);
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI WatcherWindow::ProbeThread(LPVOID probe) {
    // The thread's own reference, dropped when the loop ends.
    std::unique_ptr<std::shared_ptr<ConnectionProbe>> held(static_cast<std::shared_ptr<ConnectionProbe>*>(probe));
    (*held)->Loop();
    return 0;
}

bool WatcherWindow::StartProbeThread(std::shared_ptr<ConnectionProbe> probe) {
    auto* held = new std::shared_ptr<ConnectionProbe>(std::move(probe));
    probeThread_ = CreateThread(nullptr, 0, ProbeThread, held, 0, nullptr);
    if (probeThread_ == nullptr) {
        delete held;
        return false;
    }
    return true;
}

void WatcherWindow::CloseProbeThread() {
    if (probeThread_ != nullptr)
        CloseHandle(probeThread_);
    probeThread_ = nullptr;
}

void WatcherWindow::Sleep(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

bool WatcherWindow::SetLaunchTimer(unsigned id, unsigned period) {
    return SetTimer(hwnd_, id, period, nullptr) != 0;
}

void WatcherWindow::KillLaunchTimer(unsigned id) {
    KillTimer(hwnd_, id);
}

bool WatcherWindow::Launch(const LaunchRequest& request) {
    SHELLEXECUTEINFOA start{};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOCLOSEPROCESS;
    start.lpVerb = "";
    start.lpFile = request.file.c_str();
    start.lpDirectory = request.directory.empty() ? nullptr : request.directory.c_str();
    start.nShow = SW_SHOWNORMAL;
    start.lpClass = "";
    // Without SEE_MASK_FLAG_NO_UI the shell tells the user itself why a start failed.
    if (!ShellExecuteExA(&start))
        return false;
    // The monitor's process is not watched.
    if (start.hProcess != nullptr)
        CloseHandle(start.hProcess);
    return true;
}

}  // namespace linkwait
