#include "watcher_window.h"

#include <shellapi.h>
#include <wininet.h>

#include "last_error.h"
#include "linkwait_resource.h"
#include "monitor_contract.h"
#include "prompts.h"
#include "resources.h"

namespace linkwait {

// Every message goes on to the default processing after these.
const winapp::MessageMap<WatcherWindow> WatcherWindow::kMessages = {
    winapp::OnMessage(WM_CREATE, &WatcherWindow::OnCreate),
    winapp::OnMessage(WM_TIMER, &WatcherWindow::OnTimer),
    winapp::OnMessage(WM_DESTROY, &WatcherWindow::OnDestroy),
};

bool MonitorMutexExists() {
    const HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, monitor::kMutexName);
    if (mutex != nullptr) {
        CloseHandle(mutex);
        return true;
    }
    // A mutex that exists but is not ours to open is the monitor's all the same.
    return GetLastError() == ERROR_ACCESS_DENIED;
}

bool InternetProbe::Check() {
    return InternetCheckConnectionA(address_.c_str(), FLAG_ICC_FORCE_CONNECTION, 0) != 0;
}

void InternetProbe::Pause(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

WatcherWindow::WatcherWindow(std::string programPath, std::string installFolder, std::string probeAddress)
    : watcher_(*this, std::make_shared<InternetProbe>(std::move(probeAddress)), std::move(programPath),
               std::move(installFolder)) {}

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
    if (id != kLaunchTimerId)
        return false;
    const Tick tick = watcher_.OnLaunchTimer();
    if (tick == Tick::kWaiting)
        return false;
    // Started, told, or not needed: nothing is left to do, and the process ends.
    exitCode_ = ExitCodeOf(tick);
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
    auto held = std::make_unique<std::shared_ptr<ConnectionProbe>>(std::move(probe));
    probeThread_.Reset(CreateThread(nullptr, 0, ProbeThread, held.get(), 0, nullptr));
    if (!probeThread_)
        return false;
    held.release();  // the thread owns its reference now
    return true;
}

void WatcherWindow::CloseProbeThread() {
    probeThread_.Reset();
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

bool WatcherWindow::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool WatcherWindow::Launch(const LaunchRequest& request) {
    SHELLEXECUTEINFOA start{};
    start.cbSize = sizeof start;
    // The shell shows nothing of its own: a failure is told below, naming the file.
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    start.lpVerb = "";
    start.lpFile = request.file.c_str();
    start.lpDirectory = request.directory.empty() ? nullptr : request.directory.c_str();
    start.nShow = SW_SHOWNORMAL;
    start.lpClass = "";
    if (!ShellExecuteExA(&start)) {
        const DWORD error = GetLastError();
        winapp::SystemPrompts().ShowMessage(
            nullptr, winapp::WithErrorText(winapp::LoadText(IDS_START_FAILED, "%s", request.file), error),
            winapp::LoadText(IDS_WATCHER_CAPTION), MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
        return false;
    }
    // The monitor's process is not watched.
    if (start.hProcess != nullptr)
        CloseHandle(start.hProcess);
    return true;
}

}  // namespace linkwait
