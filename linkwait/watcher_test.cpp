#include "watcher.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace linkwait {
namespace {

// The system as a timeline: sleeping moves the clock on; probes answer from a script.
struct Timeline {
    unsigned long now = 0;
};

class ScriptedProbe : public ConnectionProbe {
public:
    explicit ScriptedProbe(Timeline& time) : time_(time) {}
    int probes = 0;
    std::deque<bool> answers;
    bool monitorRuns = false;  // as the probe thread sees the monitor's mark

protected:
    bool MonitorRuns() override { return monitorRuns; }
    bool Check() override {
        ++probes;
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Pause(unsigned milliseconds) override { time_.now += milliseconds; }

private:
    Timeline& time_;
};

class FakePorts : public WatcherPorts {
public:
    bool StartProbeThread(std::shared_ptr<ConnectionProbe>) override {
        events.push_back("thread at " + std::to_string(time.now));
        threadStartedAt = time.now;
        return true;
    }
    void CloseProbeThread() override { events.push_back("close at " + std::to_string(time.now)); }
    void Sleep(unsigned milliseconds) override { time.now += milliseconds; }
    bool SetLaunchTimer(unsigned id, unsigned period) override {
        timerId = id;
        timerPeriod = period;
        firstTickAt = time.now + period;
        timerRunning = true;
        return true;
    }
    void KillLaunchTimer(unsigned id) override {
        if (id == timerId && timerRunning) {
            timerRunning = false;
            timerKilledAt = time.now;
        }
    }
    bool MonitorRuns() override { return monitorRuns; }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    bool Launch(const LaunchRequest& request) override {
        launches.push_back(request);
        launchedAt.push_back(time.now);
        timerRunningAtLaunch.push_back(timerRunning);
        if (duringLaunch && !inLaunch) {  // one level deep, as a box over a box would go
            inLaunch = true;
            duringLaunch();
            inLaunch = false;
        }
        return startSucceeds;
    }

    Timeline time;
    unsigned long threadStartedAt = 0, firstTickAt = 0, timerKilledAt = 0;
    unsigned timerId = 0, timerPeriod = 0;
    bool timerRunning = false;
    bool startSucceeds = true;
    bool monitorRuns = false;  // as the main thread sees the monitor's mark
    std::set<std::string> files;
    bool inLaunch = false;
    std::function<void()> duringLaunch;
    std::vector<std::string> events;
    std::vector<LaunchRequest> launches;
    std::vector<unsigned long> launchedAt;
    std::vector<bool> timerRunningAtLaunch;
};

// A watcher on fake ports with a scripted probe.
struct Rig {
    explicit Rig(const char* program = "C:\\Lumetra\\linkwait.exe", const char* installFolder = "C:\\Lumetra")
        : probe(std::make_shared<ScriptedProbe>(ports.time)), watcher(ports, probe, program, installFolder) {
        ports.files.insert("C:\\Lumetra\\lumetra.exe");
    }
    FakePorts ports;
    std::shared_ptr<ScriptedProbe> probe;
    Watcher watcher;
};

// Runs the watcher for `until` ms of simulated time: the probe thread probes at once and then
// every `probeTakes` + 2500 ms until it is stopped, the timer ticks every 3000 ms from its first
// tick while it is set. `at` runs before each moment, to change the world in between. The ticks
// that did something, in order.
std::vector<Tick> Simulate(Rig& rig, unsigned long until, unsigned long probeTakes = 100,
                           const std::function<void(unsigned long)>& at = nullptr) {
    FakePorts& ports = rig.ports;
    std::vector<Tick> ticks;
    EXPECT_TRUE(rig.watcher.Start());
    unsigned long nextProbe = ports.threadStartedAt + probeTakes;  // the answer lands when the probe returns
    unsigned long nextTick = ports.firstTickAt;
    while (nextProbe <= until || nextTick <= until) {
        if (nextProbe <= nextTick) {
            ports.time.now = nextProbe;
            if (at)
                at(nextProbe);
            if (!rig.probe->stopped())
                rig.probe->ProbeOnce();
            nextProbe += kProbePause + probeTakes;
        } else {
            ports.time.now = nextTick;
            if (at)
                at(nextTick);
            if (ports.timerRunning) {
                const Tick tick = rig.watcher.OnLaunchTimer();
                if (tick != Tick::kWaiting)
                    ticks.push_back(tick);
            }
            nextTick += ports.timerPeriod;
        }
    }
    return ticks;
}

TEST(Watcher, StartsTheThreadWaitsAndSetsTheTimer) {
    Rig rig;
    ASSERT_TRUE(rig.watcher.Start());
    FakePorts& ports = rig.ports;
    EXPECT_EQ(ports.events, (std::vector<std::string>{"thread at 0", "close at 500"}));
    EXPECT_EQ(ports.timerId, 3u);
    EXPECT_EQ(ports.timerPeriod, 3000u);
    EXPECT_GE(ports.firstTickAt - ports.threadStartedAt, 3500u);
}

TEST(Watcher, NothingStartsWhileProbesFail) {
    Rig rig;
    Simulate(rig, 60000);
    EXPECT_TRUE(rig.ports.launches.empty());
    EXPECT_TRUE(rig.ports.timerRunning);
    EXPECT_GE(rig.probe->probes, 20);  // still probing, every 2.6 s
}

TEST(Watcher, StartsOnTheFirstTickAfterTheFirstGoodProbe) {
    Rig rig;
    rig.probe->answers = {false, false, false, true};  // the fourth probe, at 7900 ms, gets through
    Simulate(rig, 30000);
    ASSERT_EQ(rig.ports.launches.size(), 1u);
    EXPECT_EQ(rig.ports.launchedAt[0], 9500u);  // ticks at 3500, 6500, 9500
    EXPECT_FALSE(rig.ports.timerRunning);
}

// Once the monitor is started the watcher's work is done: no probe after the start, no timer,
// and the tick says the watcher ends with exit code 0.
TEST(Watcher, StartsOnceAndThenProbesNoMore) {
    Rig rig;
    rig.probe->answers = {true, false, true, false, true, true, false, true};
    EXPECT_EQ(Simulate(rig, 60000), std::vector<Tick>{Tick::kLaunched});
    EXPECT_EQ(rig.ports.launches.size(), 1u);
    EXPECT_EQ(rig.ports.launchedAt[0], 6500u);  // up at 100, down at 2700 (the first tick), up at 5300
    EXPECT_EQ(rig.probe->probes, 3);            // at 100, 2700 and 5300; none from 6500 on
    EXPECT_TRUE(rig.probe->stopped());
    EXPECT_FALSE(rig.ports.timerRunning);
    EXPECT_EQ(ExitCodeOf(Tick::kLaunched), 0);
    // Ticks that still come (as a timer message already queued may) start nothing either.
    EXPECT_EQ(rig.watcher.OnLaunchTimer(), Tick::kWaiting);
    EXPECT_EQ(rig.ports.launches.size(), 1u);
    EXPECT_TRUE(rig.watcher.monitorLaunched());
}

// The monitor's mark, seen before a probe or before the start, ends the watcher without a start.
TEST(Watcher, NeverStartsASecondMonitor) {
    struct Case {
        const char* what;
        std::deque<bool> answers;
        std::function<void(Rig&, unsigned long)> world;  // the mark as time goes on
        int probes;                                      // how many probes were made
        unsigned long endedAt;                           // the tick that ended the watcher
    } cases[] = {
        {"running from the first probe",
         {true},
         [](Rig& rig, unsigned long) { rig.probe->monitorRuns = true; },
         0,
         3500},
        {"started by hand while the link is down",
         {},
         [](Rig& rig, unsigned long now) { rig.probe->monitorRuns = now >= 10000; },
         4,
         12500},
        {"started between the good probe and the tick",
         {true, true},
         [](Rig& rig, unsigned long now) { rig.ports.monitorRuns = now >= 3000; },
         2,
         3500},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.probe->answers = c.answers;
        EXPECT_EQ(Simulate(rig, 30000, 100, [&](unsigned long now) { c.world(rig, now); }),
                  std::vector<Tick>{Tick::kMonitorRuns})
            << c.what;
        EXPECT_TRUE(rig.ports.launches.empty()) << c.what;
        EXPECT_EQ(rig.probe->probes, c.probes) << c.what;
        EXPECT_TRUE(rig.probe->stopped()) << c.what;
        EXPECT_FALSE(rig.ports.timerRunning) << c.what;
        EXPECT_EQ(rig.ports.timerKilledAt, c.endedAt) << c.what;
    }
    EXPECT_EQ(ExitCodeOf(Tick::kMonitorRuns), 0);
}

// The system's error box for a failed start runs a message loop, in which the launch timer may tick.
TEST(Watcher, AFailedStartIsTheOnlyOneAndEndsTheWatcher) {
    for (const bool succeeds : {false, true}) {
        Rig rig;
        rig.probe->answers = {true};
        rig.ports.startSucceeds = succeeds;
        std::vector<Tick> ticksDuringStart;
        rig.ports.duringLaunch = [&] {
            for (int i = 0; i < 3; ++i)
                ticksDuringStart.push_back(rig.watcher.OnLaunchTimer());
        };
        ASSERT_TRUE(rig.watcher.Start());
        rig.probe->ProbeOnce();
        const Tick tick = rig.watcher.OnLaunchTimer();
        EXPECT_EQ(tick, succeeds ? Tick::kLaunched : Tick::kLaunchFailed);
        EXPECT_EQ(ExitCodeOf(tick), succeeds ? 0 : 1);
        EXPECT_TRUE(rig.probe->stopped());
        EXPECT_EQ(rig.ports.launches.size(), 1u) << succeeds;
        EXPECT_EQ(ticksDuringStart, std::vector<Tick>(3, Tick::kWaiting));
        EXPECT_EQ(rig.ports.timerRunningAtLaunch, std::vector<bool>{false});  // killed before the start
        EXPECT_EQ(rig.watcher.OnLaunchTimer(), Tick::kWaiting);
        EXPECT_EQ(rig.ports.launches.size(), 1u);
    }
}

// Probes on a thread of their own that the test holds inside a probe.
class HeldProbe : public ConnectionProbe {
public:
    void Release() {
        std::lock_guard<std::mutex> lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    void AwaitInside() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return inside_; });
    }
    static inline std::atomic<int> probesAfterRelease{0};

protected:
    bool MonitorRuns() override { return false; }
    bool Check() override {
        std::unique_lock<std::mutex> lock(mutex_);
        if (released_) {
            // A loop that does not stop would probe for ever: stop it here, the test has failed.
            if (++probesAfterRelease > 3)
                Stop();
            return false;
        }
        inside_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return released_; });
        return true;
    }
    void Pause(unsigned) override {}

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool inside_ = false, released_ = false;
};

class ThreadPorts : public FakePorts {
public:
    bool StartProbeThread(std::shared_ptr<ConnectionProbe> probe) override {
        thread = std::thread([probe] { probe->Loop(); });
        return true;
    }
    std::thread thread;
};

TEST(Watcher, TheProbeThreadsDataOutlivesTheWatcher) {
    ThreadPorts ports;
    auto probe = std::make_shared<HeldProbe>();
    std::weak_ptr<HeldProbe> data = probe;
    auto watcher = std::make_unique<Watcher>(ports, probe, "C:\\Lumetra\\linkwait.exe", "C:\\Lumetra");
    probe.reset();
    ASSERT_TRUE(watcher->Start());
    data.lock()->AwaitInside();
    watcher.reset();  // the window goes while the thread is inside a probe
    EXPECT_FALSE(data.expired());
    data.lock()->Release();
    ports.thread.join();
    EXPECT_EQ(data.lock(), nullptr);                     // let go when the thread ended
    EXPECT_EQ(HeldProbe::probesAfterRelease.load(), 0);  // the watcher stopped the thread's loop
}

// The watcher's own folder first; where that holds no monitor, the registered installation's.
TEST(Watcher, TheMonitorIsStartedFromTheWatchersFolderElseTheRegisteredOne) {
    struct Case {
        const char* program;
        const char* installFolder;
        const char* existing;  // the one file that exists, if any
        const char* file;
        const char* directory;
    } cases[] = {
        {"C:\\Programme\\Lumetra\\linkwait.exe", "C:\\Programme\\Lumetra", "C:\\Programme\\Lumetra\\lumetra.exe",
         "C:\\Programme\\Lumetra\\lumetra.exe", "C:\\Programme\\Lumetra\\"},
        {"Z:\\linkwait.exe", "", "", "Z:\\lumetra.exe", "Z:\\"},
        {"linkwait.exe", "", "", "lumetra.exe", ""},
        {"\\linkwait.exe", "", "", "lumetra.exe", ""},  // the first character is not searched
        {"", "", "", "lumetra.exe", ""},
        // Kept elsewhere: the registered folder's monitor, in its folder.
        {"C:\\Tools\\linkwait.exe", "C:\\Programme\\Lumetra", "C:\\Programme\\Lumetra\\lumetra.exe",
         "C:\\Programme\\Lumetra\\lumetra.exe", "C:\\Programme\\Lumetra\\"},
        {"C:\\Tools\\linkwait.exe", "C:\\Programme\\Lumetra\\", "", "C:\\Programme\\Lumetra\\lumetra.exe",
         "C:\\Programme\\Lumetra\\"},
        // Both hold one: the watcher's own.
        {"C:\\Tools\\linkwait.exe", "C:\\Programme\\Lumetra", "C:\\Tools\\lumetra.exe", "C:\\Tools\\lumetra.exe",
         "C:\\Tools\\"},
        {"linkwait.exe", "C:\\Programme\\Lumetra", "lumetra.exe", "lumetra.exe", ""},
    };
    for (const Case& c : cases) {
        const LaunchRequest request =
            MonitorLaunchOf(c.program, c.installFolder, [&](const std::string& path) { return path == c.existing; });
        EXPECT_EQ(request.file, c.file) << c.program << " " << c.installFolder;
        EXPECT_EQ(request.directory, c.directory) << c.program << " " << c.installFolder;
    }
    for (const bool ownExists : {true, false}) {
        Rig rig("D:\\Tools\\linkwait.exe");
        if (ownExists)
            rig.ports.files.insert("D:\\Tools\\lumetra.exe");
        rig.probe->answers = {true, true};
        Simulate(rig, 5000);
        ASSERT_EQ(rig.ports.launches.size(), 1u);
        EXPECT_EQ(rig.ports.launches[0].file, ownExists ? "D:\\Tools\\lumetra.exe" : "C:\\Lumetra\\lumetra.exe");
        EXPECT_EQ(rig.ports.launches[0].directory, ownExists ? "D:\\Tools\\" : "C:\\Lumetra\\");
    }
}

TEST(Watcher, SettingsLieInTheRegisteredFolder) {
    EXPECT_EQ(SettingsPathOf("C:\\Programme\\Lumetra"), "C:\\Programme\\Lumetra\\lumetrapro.ini");
    EXPECT_EQ(SettingsPathOf(""), "\\lumetrapro.ini");
}

}  // namespace
}  // namespace linkwait
