#include "watcher.h"

namespace linkwait {

LaunchRequest MonitorLaunchOf(const std::string& programPath, const std::string& installFolder,
                              const std::function<bool(const std::string&)>& exists) {
    std::string folder;
    for (std::size_t i = programPath.size(); i > 1; --i) {
        if (programPath[i - 1] == '\\') {
            folder = programPath.substr(0, i);
            break;
        }
    }
    LaunchRequest own{folder + kMonitorFile, folder};
    if (installFolder.empty() || exists(own.file))
        return own;
    std::string registered = installFolder;
    if (registered.back() != '\\')
        registered += '\\';
    return LaunchRequest{registered + kMonitorFile, registered};
}

std::string SettingsPathOf(const std::string& installFolder) {
    return installFolder + "\\" + kSettingsFile;
}

void ConnectionProbe::ProbeOnce() {
    // A monitor started meanwhile (by the user, or by another watcher) needs no watcher.
    if (MonitorRuns()) {
        monitorFound_.store(true);
        Stop();
        return;
    }
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

void Watcher::Finish() {
    finished_ = true;
    ports_.KillLaunchTimer(kLaunchTimerId);
    probe_->Stop();
}

Tick Watcher::OnLaunchTimer() {
    if (finished_)
        return Tick::kWaiting;
    if (probe_->monitorFound()) {
        Finish();
        return Tick::kMonitorRuns;
    }
    if (!probe_->connectionUp() || monitorLaunched_ != 0)
        return Tick::kWaiting;
    // The probe saw no monitor, but it may have come up since.
    if (ports_.MonitorRuns()) {
        Finish();
        return Tick::kMonitorRuns;
    }
    // Marked, and the timer and the probes gone, before the start: a tick that comes while the
    // start is under way (in the message loop of the box that tells a failure) must not start it
    // again, and nothing needs the connection once the monitor runs.
    monitorLaunched_ = 1;
    Finish();
    const LaunchRequest request = MonitorLaunchOf(programPath_, installFolder_,
                                                  [this](const std::string& path) { return ports_.FileExists(path); });
    return ports_.Launch(request) ? Tick::kLaunched : Tick::kLaunchFailed;
}

}  // namespace linkwait
