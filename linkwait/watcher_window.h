// The watcher's hidden main window, which owns the launch timer, and the system's side of the
// watcher: the probe thread, the internet probe, the monitor's mark and the start of the monitor.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "frame_window.h"
#include "handles.h"
#include "message_map.h"
#include "watcher.h"

namespace linkwait {

// Whether the monitor's named mutex exists, that is, the monitor runs in this session.
bool MonitorMutexExists();

// The internet probe as the probe thread runs it; shared with the thread (see ConnectionProbe).
class InternetProbe : public ConnectionProbe {
public:
    explicit InternetProbe(std::string address) : address_(std::move(address)) {}

protected:
    bool MonitorRuns() override { return MonitorMutexExists(); }
    bool Check() override;
    void Pause(unsigned milliseconds) override;

private:
    const std::string address_;
};

class WatcherWindow : public winapp::FrameWindow, private WatcherPorts {
public:
    // `installFolder`: the folder that the registry names, where the monitor is started from when
    // the watcher's own folder holds none.
    WatcherWindow(std::string programPath, std::string installFolder, std::string probeAddress);
    // Makes the window, hidden, which starts the watching; false when it cannot be made.
    bool Create();
    // The process's exit code once the message loop has ended: 1 when the monitor could not be started.
    int exitCode() const { return exitCode_; }

protected:
    const winapp::MessageTable* Messages() const override { return &kMessages; }

private:
    static const winapp::MessageMap<WatcherWindow> kMessages;

    bool OnCreate(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnTimer(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnDestroy(WPARAM wParam, LPARAM lParam, LRESULT& result);

    static DWORD WINAPI ProbeThread(LPVOID probe);

    bool StartProbeThread(std::shared_ptr<ConnectionProbe> probe) override;
    void CloseProbeThread() override;
    void Sleep(unsigned milliseconds) override;
    bool SetLaunchTimer(unsigned id, unsigned period) override;
    void KillLaunchTimer(unsigned id) override;
    bool MonitorRuns() override { return MonitorMutexExists(); }
    bool FileExists(const std::string& path) override;
    bool Launch(const LaunchRequest& request) override;

    Watcher watcher_;
    winapp::KernelHandle probeThread_;
    int exitCode_ = 0;
};

}  // namespace linkwait
