// The connection watcher's decisions, apart from the system: when to start the monitor (once, on
// the first tick after a probe got through, and never while it runs already), what to start and
// where, and when the watcher's work is done. The system's threads, timers, probe, program start
// and the monitor's mark come in through ports.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace linkwait {

constexpr unsigned kLaunchTimerId = 3;
constexpr unsigned kLaunchTimerPeriod = 3000;  // ms
constexpr unsigned kProbePause = 2500;         // ms between probes
constexpr unsigned kStartWait = 500;           // ms the main thread waits after starting the probe thread
inline constexpr const char kMonitorFile[] = "lumetra.exe";
inline constexpr const char kSettingsFile[] = "lumetrapro.ini";
// Held by a running watcher, so that a second one in the same session ends at once.
inline constexpr const char kWatcherMutexName[] = "LumetraProLinkwait";

// What the system is asked to start.
struct LaunchRequest {
    std::string file;       // the monitor program
    std::string directory;  // its working directory; empty: the current one
};

// The monitor is looked for in the watcher's own folder: the program path up to and including its
// last backslash (searched from the last character down to the second); a path without one gives
// an empty folder, and so the current directory. Where no such file `exists`, the monitor of the
// installation folder that the registry names is started instead (when it names one), so that a
// watcher kept elsewhere still starts the monitor whose option it read.
LaunchRequest MonitorLaunchOf(const std::string& programPath, const std::string& installFolder,
                              const std::function<bool(const std::string&)>& exists);

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
    // One round: where the monitor runs already, the loop stops and nothing is probed; else one probe.
    void ProbeOnce();
    // The thread ends after the probe or pause it is in, and probes no more.
    void Stop() { stopped_.store(true); }
    bool stopped() const { return stopped_.load(); }
    bool connectionUp() const { return connectionUp_.load() != 0; }
    bool monitorFound() const { return monitorFound_.load(); }

protected:
    virtual bool MonitorRuns() = 0;
    virtual bool Check() = 0;  // blocks as long as the system takes
    virtual void Pause(unsigned milliseconds) = 0;

private:
    // Written by the probe thread, read by the timer on the main thread.
    std::atomic<std::int32_t> connectionUp_{0};
    std::atomic<bool> monitorFound_{false};
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
    // Whether the monitor's mark exists: it runs in this session.
    virtual bool MonitorRuns() = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // Whether the monitor started; where not, the user has been told why. Telling runs a message
    // loop, which may deliver further ticks of the launch timer meanwhile.
    virtual bool Launch(const LaunchRequest& request) = 0;
};

enum class Tick {
    kWaiting,       // nothing started; the watcher goes on
    kLaunched,      // the monitor was started: the watcher's work is done
    kLaunchFailed,  // the one start failed and was told: the watcher ends as failed
    kMonitorRuns,   // the monitor runs already: nothing started, the watcher's work is done
};

// The process's exit code once a tick has ended the watcher.
inline int ExitCodeOf(Tick tick) {
    return tick == Tick::kLaunchFailed ? 1 : 0;
}

class Watcher {
public:
    Watcher(WatcherPorts& ports, std::shared_ptr<ConnectionProbe> probe, std::string programPath,
            std::string installFolder)
        : ports_(ports),
          probe_(std::move(probe)),
          programPath_(std::move(programPath)),
          installFolder_(std::move(installFolder)) {}
    ~Watcher() { probe_->Stop(); }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    // When the window is made: the probe thread, a short wait, the launch timer. False when the
    // thread or the timer cannot be had: the watcher cannot work.
    bool Start();
    // A tick of the launch timer. Every result but kWaiting has stopped the timer and the probes.
    Tick OnLaunchTimer();

    bool monitorLaunched() const { return monitorLaunched_ != 0; }

private:
    // The watcher's work is over: no more ticks, no more probes.
    void Finish();

    WatcherPorts& ports_;
    std::shared_ptr<ConnectionProbe> probe_;
    std::string programPath_;
    std::string installFolder_;
    std::int32_t monitorLaunched_ = 0;  // main thread only
    bool finished_ = false;             // main thread only
};

}  // namespace linkwait
