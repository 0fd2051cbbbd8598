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

void Watcher::Start() {
    ports_.StartProbeThread();
    ports_.Sleep(kStartWait);
    ports_.CloseProbeThread();
    ports_.SetLaunchTimer(kLaunchTimerId, kLaunchTimerPeriod);
}

void Watcher::ProbeOnce() {
    connectionUp_.store(ports_.ProbeConnection() ? 1 : 0);
}

void Watcher::ProbeLoop(unsigned rounds) {
    for (unsigned done = 0; rounds == 0 || done < rounds; ++done) {
        ProbeOnce();
        ports_.Sleep(kProbePause);
    }
}

bool Watcher::OnLaunchTimer() {
    if (connectionUp_.load() == 0 || monitorLaunched_ != 0)
        return false;
    ports_.Launch(MonitorLaunchOf(programPath_));
    monitorLaunched_ = 1;
    ports_.KillLaunchTimer(kLaunchTimerId);
    return true;
}

}  // namespace linkwait
