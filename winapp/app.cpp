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
