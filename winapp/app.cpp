#include "app.h"

#include "window.h"

namespace winapp {
namespace {
App* g_app = nullptr;
}

App::App() {
    g_app = this;
}

App::~App() {
    if (g_app == this)
        g_app = nullptr;
}

App* App::Current() {
    return g_app;
}

int App::Run() {
    if (const std::optional<int> exitCode = InitInstance())
        return *exitCode;
    return ExitInstance(RunMessageLoop());
}

int App::RunMessageLoop() {
    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        const HACCEL accelerators = Accelerators();
        if (accelerators != nullptr && TranslateAcceleratorA(mainHwnd(), accelerators, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // A loop that could not go on (-1) ends the program, but not as if it had been closed.
    if (got < 0)
        return 1;
    return static_cast<int>(message.wParam);
}

HWND App::mainHwnd() const {
    return mainWindow_ != nullptr ? mainWindow_->hwnd() : nullptr;
}

std::string App::Title() const {
    return ProgramTitle();
}

std::string ProgramTitle() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length);
    const std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

}  // namespace winapp
