#include "watcher.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
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

protected:
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
        if (id == timerId)
            timerRunning = false;
    }
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
    unsigned long threadStartedAt = 0, firstTickAt = 0;
    unsigned timerId = 0, timerPeriod = 0;
    bool timerRunning = false;
    bool startSucceeds = true;
    bool inLaunch = false;
    std::function<void()> duringLaunch;
    std::vector<std::string> events;
    std::vector<LaunchRequest> launches;
    std::vector<unsigned long> launchedAt;
    std::vector<bool> timerRunningAtLaunch;
};

// A watcher on fake ports with a scripted probe.
struct Rig {
    explicit Rig(const char* program = "C:\\Lumetra\\linkwait.exe")
        : probe(std::make_shared<ScriptedProbe>(ports.time)), watcher(ports, probe, program) {}
    FakePorts ports;
    std::shared_ptr<ScriptedProbe> probe;
    Watcher watcher;
};

// Runs the watcher for `until` ms of simulated time: the probe thread probes at once and then
// every `probeTakes` + 2500 ms, the timer ticks every 3000 ms from its first tick.
void Simulate(Rig& rig, unsigned long until, unsigned long probeTakes = 100) {
    FakePorts& ports = rig.ports;
    ASSERT_TRUE(rig.watcher.Start());
    unsigned long nextProbe = ports.threadStartedAt + probeTakes;  // the answer lands when the probe returns
    unsigned long nextTick = ports.firstTickAt;
    while (nextProbe <= until || nextTick <= until) {
        if (nextProbe <= nextTick) {
            ports.time.now = nextProbe;
            rig.probe->ProbeOnce();
            nextProbe += kProbePause + probeTakes;
        } else {
            ports.time.now = nextTick;
            if (ports.timerRunning)
                rig.watcher.OnLaunchTimer();
            nextTick += ports.timerPeriod;
        }
    }
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

TEST(Watcher, StartsOnceThoughTheConnectionComesAndGoes) {
    Rig rig;
    rig.probe->answers = {true, false, true, false, true, true, false, true};
    Simulate(rig, 60000);
    EXPECT_EQ(rig.ports.launches.size(), 1u);
    EXPECT_EQ(rig.ports.launchedAt[0], 6500u);  // up at 100, down at 2700 (the first tick), up at 5300
    // Ticks that still come (as a timer message already queued may) start nothing either.
    EXPECT_EQ(rig.watcher.OnLaunchTimer(), Tick::kWaiting);
    EXPECT_EQ(rig.ports.launches.size(), 1u);
    EXPECT_TRUE(rig.watcher.monitorLaunched());
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
        EXPECT_EQ(rig.watcher.OnLaunchTimer(), succeeds ? Tick::kLaunched : Tick::kLaunchFailed);
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
    auto watcher = std::make_unique<Watcher>(ports, probe, "C:\\Lumetra\\linkwait.exe");
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

TEST(Watcher, TheMonitorIsStartedFromTheWatchersFolder) {
    struct Case {
        const char* program;
        const char* file;
        const char* directory;
    } cases[] = {
        {"C:\\Programme\\Lumetra\\linkwait.exe", "C:\\Programme\\Lumetra\\lumetra.exe", "C:\\Programme\\Lumetra\\"},
        {"Z:\\linkwait.exe", "Z:\\lumetra.exe", "Z:\\"},
        {"linkwait.exe", "lumetra.exe", ""},
        {"\\linkwait.exe", "lumetra.exe", ""},  // the first character is not searched
        {"", "lumetra.exe", ""},
    };
    for (const Case& c : cases) {
        const LaunchRequest request = MonitorLaunchOf(c.program);
        EXPECT_EQ(request.file, c.file) << c.program;
        EXPECT_EQ(request.directory, c.directory) << c.program;
    }
    Rig rig("D:\\Tools\\linkwait.exe");
    rig.probe->answers = {true, true};
    Simulate(rig, 5000);
    ASSERT_EQ(rig.ports.launches.size(), 1u);
    EXPECT_EQ(rig.ports.launches[0].file, "D:\\Tools\\lumetra.exe");
    EXPECT_EQ(rig.ports.launches[0].directory, "D:\\Tools\\");
}

TEST(Watcher, SettingsLieInTheRegisteredFolder) {
    EXPECT_EQ(SettingsPathOf("C:\\Programme\\Lumetra"), "C:\\Programme\\Lumetra\\lumetrapro.ini");
    EXPECT_EQ(SettingsPathOf(""), "\\lumetrapro.ini");
}

}  // namespace
}  // namespace linkwait
