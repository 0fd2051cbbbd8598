#include "watcher_window.h"

#include <shellapi.h>
#include <wininet.h>

namespace linkwait {

// Every message goes on to the default processing after these.
const winapp::MessageMap<WatcherWindow> WatcherWindow::kMessages = {
    winapp::OnMessage(WM_CREATE, &WatcherWindow::OnCreate),
    winapp::OnMessage(WM_TIMER, &WatcherWindow::OnTimer),
    winapp::OnMessage(WM_DESTROY, &WatcherWindow::OnDestroy),
};

bool InternetProbe::Check() {
    return InternetCheckConnectionA(address_.c_str(), FLAG_ICC_FORCE_CONNECTION, 0) != 0;
}

void InternetProbe::Pause(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

WatcherWindow::WatcherWindow(std::string programPath, std::string probeAddress)
    : watcher_(*this, std::make_shared<InternetProbe>(std::move(probeAddress)), std::move(programPath)) {}

bool WatcherWindow::Create() {
    // Never shown: it only keeps the timer and the message loop.
    return FrameWindow::Create("linkwait", nullptr, 0, 0, WS_OVERLAPPED);
}

bool WatcherWindow::OnCreate(WPARAM, LPARAM, LRESULT& result) {
    if (watcher_.Start())
        return false;
    result = -1;  // no window: the watcher ends
    return true;
}

bool WatcherWindow::OnTimer(WPARAM id, LPARAM, LRESULT&) {
    if (id != kLaunchTimerId || watcher_.OnLaunchTimer() != Tick::kLaunchFailed)
        return false;
    // The system has shown why; a watcher that started nothing has nothing left to do.
    launchFailed_ = true;
    DestroyWindow(hwnd());
    return true;
}

bool WatcherWindow::OnDestroy(WPARAM, LPARAM, LRESULT&) {
    PostQuitMessage(0);
    return false;
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
