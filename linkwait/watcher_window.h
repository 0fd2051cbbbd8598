// The watcher's hidden main window, which owns the launch timer, and the system's side of the
// watcher: the probe thread, the internet probe and the start of the monitor.
#pragma once

#include <windows.h>

#include <string>

#include "watcher.h"

namespace linkwait {

class WatcherWindow : private WatcherPorts {
public:
    WatcherWindow(std::string programPath, std::string probeAddress);
    // Makes the window, hidden, which starts the watching; false when it cannot be made.
    bool Create();
    HWND hwnd() const { return hwnd_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static DWORD WINAPI ProbeThread(LPVOID self);

    void StartProbeThread() override;
    void CloseProbeThread() override;
    void Sleep(unsigned milliseconds) override;
    void SetLaunchTimer(unsigned id, unsigned period) override;
    void KillLaunchTimer(unsigned id) override;
    bool ProbeConnection() override;
    void Launch(const LaunchRequest& request) override;

    Watcher watcher_;
    std::string probeAddress_;
    HWND hwnd_ = nullptr;
    HANDLE probeThread_ = nullptr;
};

}  // namespace linkwait
