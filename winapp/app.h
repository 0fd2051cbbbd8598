// The application object: one per program, with its main window.
#pragma once

#include <windows.h>

#include <string>

namespace winapp {

class Window;

// The program's file name without folder and extension: the default caption of its message boxes.
std::string ProgramTitle();

class App {
public:
    App();
    virtual ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    static App* Current();

    // Runs the program; its exit code.
    virtual int Run() = 0;

    Window* mainWindow() const { return mainWindow_; }
    void setMainWindow(Window* window) { mainWindow_ = window; }
    HWND mainHwnd() const;

    // The default caption of the program's message boxes: its file name without extension.
    std::string Title() const;

private:
    Window* mainWindow_ = nullptr;
};

}  // namespace winapp
