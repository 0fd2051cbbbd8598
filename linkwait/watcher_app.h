// linkwait's application object: its start-up decides whether the watcher runs at all (the option
// on, no other watcher in the session, the monitor not running yet); where it does, the hidden
// watcher window serves the message loop.
#pragma once

#include <memory>
#include <optional>

#include "app.h"
#include "handles.h"
#include "watcher_window.h"

namespace linkwait {

class WatcherApp : public winapp::App {
protected:
    std::optional<int> InitInstance() override;
    int ExitInstance(int quitCode) override;

private:
    winapp::KernelHandle watcherMutex_;  // held for the life of the process
    std::unique_ptr<WatcherWindow> window_;
};

}  // namespace linkwait
