// The connection watcher's decisions, apart from the system: when to start the monitor (once, on
// the first tick after a probe got through), what to start and where, and the order of the
// start-up steps. The system's threads, timers, probe and program start come in through ports.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace linkwait {

constexpr unsigned kLaunchTimerId = 3;
constexpr unsigned kLaunchTimerPeriod = 3000;  // ms
constexpr unsigned kProbePause = 2500;         // ms between probes
constexpr unsigned kStartWait = 500;           // ms the main thread waits after starting the probe thread
inline constexpr const char kMonitorFile[] = "lumetra.exe";
inline constexpr const char kSettingsFile[] = "lumetrapro.ini";

// What the system is asked to start.
struct LaunchRequest {
    std::string file;       // the monitor program
    std::string directory;  // its working directory; empty: the current one
};

// The monitor is looked for in the watcher's own folder: the program path up to and including its
// last backslash (searched from the last character down to the second). A path without one gives
// an empty folder, and so the current directory.
LaunchRequest MonitorLaunchOf(const std::string& programPath);

// The settings file in the folder that the registry names (without its trailing backslash).
std::string SettingsPathOf(const std::string& installFolder);

// The probe thread's side: everything the thread touches lives here. The thread and the watcher
// each hold a reference, so a thread still inside a probe when the watcher goes (a probe may
// block for a long time) finds its data in place, and lets go of it when it ends.
class ConnectionProbe {
public:
    virtual ~ConnectionProbe() = default;

    // The probe thread's body: probes until stopped, or `rounds` times where a test says so (0: no limit).
    void Loop(unsigned rounds = 0);
    void ProbeOnce();
    // The thread ends after the probe or pause it is in.
    void Stop() { stopped_.store(true); }
    bool connectionUp() const { return connectionUp_.load() != 0; }

protected:
    virtual bool Check() = 0;  // blocks as long as the system takes
    virtual void Pause(unsigned milliseconds) = 0;

private:
    // Written by the probe thread, read by the timer on the main thread.
    std::atomic<std::int32_t> connectionUp_{0};
    std::atomic<bool> stopped_{false};
};

class WatcherPorts {
public:
    virtual ~WatcherPorts() = default;
    // Runs probe->Loop() on another thread, which keeps the reference; false when it cannot start.
    virtual bool StartProbeThread(std::shared_ptr<ConnectionProbe> probe) = 0;
    virtual void CloseProbeThread() = 0;  // lets go of the thread's handle; the thread runs on
    virtual void Sleep(unsigned milliseconds) = 0;
    virtual bool SetLaunchTimer(unsigned id, unsigned period) = 0;
    virtual void KillLaunchTimer(unsigned id) = 0;
    // Whether the monitor started. The system may show its own error box first, and that box's
    // message loop may deliver further ticks of the launch timer meanwhile.
    virtual bool Launch(const LaunchRequest& request) = 0;
};

enum class Tick {
    kWaiting,       // nothing started
    kLaunched,      // the monitor was started; the watcher stays as it is
    kLaunchFailed,  // the one start failed; the watcher ends
};

class Watcher {
public:
    Watcher(WatcherPorts& ports, std::shared_ptr<ConnectionProbe> probe, std::string programPath)
        : ports_(ports), probe_(std::move(probe)), programPath_(std::move(programPath)) {}
    ~Watcher() { probe_->Stop(); }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    // When the window is made: the probe thread, a short wait, the launch timer. False when the
    // thread or the timer cannot be had: the watcher cannot work.
    bool Start();
    // A tick of the launch timer.
    Tick OnLaunchTimer();

    bool monitorLaunched() const { return monitorLaunched_ != 0; }

private:
    WatcherPorts& ports_;
    std::shared_ptr<ConnectionProbe> probe_;
    std::string programPath_;
    std::int32_t monitorLaunched_ = 0;  // main thread only
};

}  // namespace linkwait
