#include "watcher.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace linkwait {
namespace {

// The system as a timeline: sleeping moves the clock on; probes answer from a script.
class FakePorts : public WatcherPorts {
public:
    void StartProbeThread() override {
        events.push_back("thread at " + std::to_string(now));
        threadStartedAt = now;
    }
    void CloseProbeThread() override { events.push_back("close at " + std::to_string(now)); }
    void Sleep(unsigned milliseconds) override { now += milliseconds; }
    void SetLaunchTimer(unsigned id, unsigned period) override {
        timerId = id;
        timerPeriod = period;
        firstTickAt = now + period;
        timerRunning = true;
    }
    void KillLaunchTimer(unsigned id) override {
        if (id == timerId)
            timerRunning = false;
    }
    bool ProbeConnection() override {
        ++probes;
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Launch(const LaunchRequest& request) override {
        launches.push_back(request);
        launchedAt.push_back(now);
    }

    unsigned long now = 0;
    unsigned long threadStartedAt = 0, firstTickAt = 0;
    unsigned timerId = 0, timerPeriod = 0;
    bool timerRunning = false;
    int probes = 0;
    std::deque<bool> answers;
    std::vector<std::string> events;
    std::vector<LaunchRequest> launches;
    std::vector<unsigned long> launchedAt;
};

// Runs the watcher for `until` ms of simulated time: the probe thread probes at once and then
// every `probeTakes` + 2500 ms, the timer ticks every 3000 ms from its first tick.
void Simulate(Watcher& watcher, FakePorts& ports, unsigned long until, unsigned long probeTakes = 100) {
    watcher.Start();
    unsigned long nextProbe = ports.threadStartedAt + probeTakes;  // the answer lands when the probe returns
    unsigned long nextTick = ports.firstTickAt;
    while (nextProbe <= until || nextTick <= until) {
        if (nextProbe <= nextTick) {
            ports.now = nextProbe;
            watcher.ProbeOnce();
            nextProbe += kProbePause + probeTakes;
        } else {
            ports.now = nextTick;
            if (ports.timerRunning)
                watcher.OnLaunchTimer();
            nextTick += ports.timerPeriod;
        }
    }
}

TEST(Watcher, StartsTheThreadWaitsAndSetsTheTimer) {
    FakePorts ports;
    Watcher watcher(ports, "C:\\Lumetra\\linkwait.exe");
    watcher.Start();
    EXPECT_EQ(ports.events, (std::vector<std::string>{"thread at 0", "close at 500"}));
    EXPECT_EQ(ports.timerId, 3u);
    EXPECT_EQ(ports.timerPeriod, 3000u);
    EXPECT_GE(ports.firstTickAt - ports.threadStartedAt, 3500u);
}

TEST(Watcher, NothingStartsWhileProbesFail) {
    FakePorts ports;
    Watcher watcher(ports, "C:\\Lumetra\\linkwait.exe");
    Simulate(watcher, ports, 60000);
    EXPECT_TRUE(ports.launches.empty());
    EXPECT_TRUE(ports.timerRunning);
    EXPECT_GE(ports.probes, 20);  // still probing, every 2.6 s
}

TEST(Watcher, StartsOnTheFirstTickAfterTheFirstGoodProbe) {
    FakePorts ports;
    ports.answers = {false, false, false, true};  // the fourth probe, at 7900 ms, gets through
    Watcher watcher(ports, "C:\\Lumetra\\linkwait.exe");
    Simulate(watcher, ports, 30000);
    ASSERT_EQ(ports.launches.size(), 1u);
    EXPECT_EQ(ports.launchedAt[0], 9500u);  // ticks at 3500, 6500, 9500
    EXPECT_FALSE(ports.timerRunning);
}

TEST(Watcher, StartsOnceThoughTheConnectionComesAndGoes) {
    FakePorts ports;
    ports.answers = {true, false, true, false, true, true, false, true};
    Watcher watcher(ports, "C:\\Lumetra\\linkwait.exe");
    Simulate(watcher, ports, 60000);
    EXPECT_EQ(ports.launches.size(), 1u);
    EXPECT_EQ(ports.launchedAt[0], 6500u);  // up at 100, down at 2700 (the first tick), up at 5300
    // Ticks that still come (as a timer message already queued may) start nothing either.
    EXPECT_FALSE(watcher.OnLaunchTimer());
    EXPECT_EQ(ports.launches.size(), 1u);
    EXPECT_TRUE(watcher.monitorLaunched());
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
    FakePorts ports;
    ports.answers = {true, true};
    Watcher watcher(ports, "D:\\Tools\\linkwait.exe");
    Simulate(watcher, ports, 5000);
    ASSERT_EQ(ports.launches.size(), 1u);
    EXPECT_EQ(ports.launches[0].file, "D:\\Tools\\lumetra.exe");
    EXPECT_EQ(ports.launches[0].directory, "D:\\Tools\\");
}

TEST(Watcher, SettingsLieInTheRegisteredFolder) {
    EXPECT_EQ(SettingsPathOf("C:\\Programme\\Lumetra"), "C:\\Programme\\Lumetra\\lumetrapro.ini");
    EXPECT_EQ(SettingsPathOf(""), "\\lumetrapro.ini");
}

}  // namespace
}  // namespace linkwait
