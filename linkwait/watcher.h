// The connection watcher's decisions, apart from the system: when to start the monitor (once, on
// the first tick after a probe got through), what to start and where, and the order of the
// start-up steps. The system's threads, timers, probe and program start come in through ports.
#pragma once

#include <atomic>
#include <cstdint>
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

class WatcherPorts {
public:
    virtual ~WatcherPorts() = default;
    virtual void StartProbeThread() = 0;  // runs ProbeLoop on another thread
    virtual void CloseProbeThread() = 0;  // lets go of the thread's handle; the thread runs on
    virtual void Sleep(unsigned milliseconds) = 0;
    virtual void SetLaunchTimer(unsigned id, unsigned period) = 0;
    virtual void KillLaunchTimer(unsigned id) = 0;
    virtual bool ProbeConnection() = 0;  // blocks as long as the system takes
    virtual void Launch(const LaunchRequest& request) = 0;
};

class Watcher {
public:
    Watcher(WatcherPorts& ports, std::string programPath) : ports_(ports), programPath_(std::move(programPath)) {}

    // When the window is made: the probe thread, a short wait, the launch timer.
    void Start();
    // The probe thread's body: for ever, or `rounds` times where a test says so (0: for ever).
    void ProbeLoop(unsigned rounds = 0);
    void ProbeOnce();
    // A tick of the launch timer; whether it started the monitor.
    bool OnLaunchTimer();

    bool connectionUp() const { return connectionUp_.load() != 0; }
    bool monitorLaunched() const { return monitorLaunched_ != 0; }

private:
    WatcherPorts& ports_;
    std::string programPath_;
    // Written by the probe thread, read by the timer on the main thread.
    std::atomic<std::int32_t> connectionUp_{0};
    std::int32_t monitorLaunched_ = 0;  // main thread only
};

}  // namespace linkwait
