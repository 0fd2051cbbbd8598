#include "demo_app.h"

#include <cstdlib>

namespace menudemo {

std::optional<int> DemoApp::InitInstance() {
    if (!frame_.Create())
        return 1;
    if (!commandLine_.empty())
        frame_.UseStyle(std::atoi(commandLine_.c_str()));
    setMainWindow(&frame_);
    ShowWindow(frame_.hwnd(), show_);
    UpdateWindow(frame_.hwnd());
    return std::nullopt;
}

}  // namespace menudemo
