// The menu demo's application object: the menu hook's frame in the style that the command line
// names, and the message loop with the frame's accelerators.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "app.h"
#include "demo_frame.h"

namespace menudemo {

class DemoApp : public winapp::App {
public:
    // `commandLine` as WinMain has it (a style number, or empty for the default); `show` how the
    // frame first shows.
    DemoApp(std::string commandLine, int show) : commandLine_(std::move(commandLine)), show_(show) {}

protected:
    std::optional<int> InitInstance() override;
    HACCEL Accelerators() const override { return frame_.accelerators(); }

private:
    const std::string commandLine_;
    const int show_;
    DemoFrame frame_;
};

}  // namespace menudemo
