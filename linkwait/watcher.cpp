#include "watcher.h"

namespace linkwait {

LaunchRequest MonitorLaunchOf(const std::string& programPath) {
    std::string folder;
    for (std::size_t i = programPath.size(); i > 1; --i) {
        if (programPath[i - 1] == '\\') {
            folder = programPath.substr(0, i);
            break;
        }
    }
    return LaunchRequest{folder + kMonitorFile, folder};
}

std::string SettingsPathOf(const std::string& installFolder) {
    return installFolder + "\\" + kSettingsFile;
}

void ConnectionProbe::ProbeOnce() {
    connectionUp_.store(Check() ? 1 : 0);
}

void ConnectionProbe::Loop(unsigned rounds) {
    for (unsigned done = 0; (rounds == 0 || done < rounds) && !stopped_.load(); ++done) {
        ProbeOnce();
        if (stopped_.load())
            break;
        Pause(kProbePause);
    }
}

bool Watcher::Start() {
    if (!ports_.StartProbeThread(probe_))
        return false;
    ports_.Sleep(kStartWait);
    ports_.CloseProbeThread();
    return ports_.SetLaunchTimer(kLaunchTimerId, kLaunchTimerPeriod);
}

Tick Watcher::OnLaunchTimer() {
    if (!probe_->connectionUp() || monitorLaunched_ != 0)
        return Tick::kWaiting;
    // Marked and the timer gone before the start: a tick that comes while the start is under way
    // (in the message loop of the system's error box) must not start it again.
    monitorLaunched_ = 1;
    ports_.KillLaunchTimer(kLaunchTimerId);
    return ports_.Launch(MonitorLaunchOf(programPath_)) ? Tick::kLaunched : Tick::kLaunchFailed;
}

}  // namespace linkwait
