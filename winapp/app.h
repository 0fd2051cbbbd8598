// The application object: one per program, with its main window. Every program with windows starts
// the same way: WinMain makes the object and returns what Run returns.
#pragma once

#include <windows.h>

#include <optional>
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

    // Runs the program: its start-up, then, where the start-up leaves a main window to serve, the
    // thread's message loop until WM_QUIT; the process's exit code.
    int Run();

    Window* mainWindow() const { return mainWindow_; }
    void setMainWindow(Window* window) { mainWindow_ = window; }
    HWND mainHwnd() const;

    // The default caption of the program's message boxes: its file name without extension.
    std::string Title() const;

protected:
    // The start-up. The exit code where the program ends here (a dialog program runs its dialog
    // modally within it); nothing where the main window is made and the message loop is to run.
    virtual std::optional<int> InitInstance() = 0;
    // The exit code once the message loop has ended with WM_QUIT's `quitCode`.
    virtual int ExitInstance(int quitCode) { return quitCode; }
    // The main window's accelerators, which the message loop translates; none by default.
    virtual HACCEL Accelerators() const { return nullptr; }

private:
    int RunMessageLoop();

    Window* mainWindow_ = nullptr;
};

}  // namespace winapp
