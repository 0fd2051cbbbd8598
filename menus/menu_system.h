// What the menu library learns about the platform once at start, and the colour queries that
// read the system's settings.
#pragma once

#include <windows.h>

#include <uxtheme.h>

#include <string>

#include "menu_colors.h"

namespace menus {

// The version of the running system.
WindowsVersion GetWindowsVersionIndex();
// The version of the numbers that GetVersion and GetVersionExA give.
WindowsVersion VersionIndexOf(DWORD version, const OSVERSIONINFOA& info);

// Loaded at run time where present; typed by the platform's declarations.
using GradientFillProc = decltype(&::GradientFill);
using IsThemeActiveProc = decltype(&::IsThemeActive);
using SetWindowThemeProc = decltype(&::SetWindowTheme);

// The process-wide findings, set by ProbePlatform and read afterwards (one GUI thread).
struct Platform {
    WindowsVersion versionIndex = WindowsVersion::kXPOrLater;
    bool remoteSession = false;
    bool underWine = false;
    bool highContrast = false;
    HMODULE themeLibrary = nullptr;
    IsThemeActiveProc isThemeActive = nullptr;
    SetWindowThemeProc setWindowTheme = nullptr;
    HMODULE imageLibrary = nullptr;
    GradientFillProc gradientFill = nullptr;
};
Platform& ThePlatform();

// Start-up steps 1 to 5: the version, remote session, Wine, high contrast and the libraries.
void ProbePlatform();
// Frees the libraries and forgets their entry points.
void ReleasePlatform();

bool IsThemeActiveNow();
int GetScreenColorCount();  // cached; more than 256 colours as 64000
bool IsSystemDropShadowOn();
SystemColours SystemColoursNow();
// The screen as the drawing routines see it through `dc` (its nearest colours).
Display DisplayOf(HDC dc);

Colour GetMenuBackgroundColor(HMENU menu);
Colour GetMenuBarColor(HMENU menu);
Colour GetSelectionFillColorNow();

// Shows the system's text for GetLastError in a message box titled "Error"; nothing for 0.
void ReportLastError();
// The text ReportLastError shows for `code` (empty for 0).
std::string LastErrorText(DWORD code);

}  // namespace menus
