#include "menu_system.h"

#include <cstdio>
#include <string>

#include "procedures.h"

namespace menus {

WindowsVersion VersionIndexOf(DWORD version, const OSVERSIONINFOA& info) {
    if (version & 0x80000000u) {  // the Windows platform
        if ((version & 0xFF) < 4)
            return WindowsVersion::kWin32s;
        if (info.dwMajorVersion != 4)
            return WindowsVersion::kWindows95;
        if (info.dwMinorVersion == 10)
            return WindowsVersion::kWindows98;
        if (info.dwMinorVersion == 90)
            return WindowsVersion::kWindowsMe;
        return WindowsVersion::kWindows95;
    }
    if (info.dwMajorVersion == 4)
        return WindowsVersion::kNT4;
    if (info.dwMajorVersion == 5)
        return info.dwMinorVersion == 0 ? WindowsVersion::kWindows2000 : WindowsVersion::kXPOrLater;
    if (info.dwMajorVersion < 5)
        return WindowsVersion::kNT3;
    return WindowsVersion::kXPOrLater;
}

WindowsVersion GetWindowsVersionIndex() {
    const DWORD version = GetVersion();
    OSVERSIONINFOA info{};
    if (!(version & 0x80000000u) || (version & 0xFF) >= 4) {
        info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
        if (!GetVersionExA(&info)) {
            ReportLastError();
            info = OSVERSIONINFOA{};
        }
    }
    return VersionIndexOf(version, info);
}

Platform& ThePlatform() {
    static Platform platform;
    return platform;
}

void ProbePlatform() {
    Platform& p = ThePlatform();
    p.versionIndex = GetWindowsVersionIndex();
    p.remoteSession = p.versionIndex > WindowsVersion::kNT4 && GetSystemMetrics(SM_REMOTESESSION) != 0;
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    p.underWine = kernel != nullptr && GetProcAddress(kernel, "wine_get_unix_file_name") != nullptr;
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;  // 12 bytes on 32 bits
    p.highContrast = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                     (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    // Loaded once however often the probe runs: each load would count the library once more.
    if (p.themeLibrary == nullptr)
        p.themeLibrary = LoadLibraryA("uxtheme.dll");
    if (p.themeLibrary != nullptr) {
        p.isThemeActive = winapp::LoadedFunction<decltype(::IsThemeActive)>(p.themeLibrary, "IsThemeActive");
        p.setWindowTheme = winapp::LoadedFunction<decltype(::SetWindowTheme)>(p.themeLibrary, "SetWindowTheme");
    }
    if (p.imageLibrary == nullptr)
        p.imageLibrary = LoadLibraryA("Msimg32.dll");
    if (p.imageLibrary != nullptr && p.versionIndex != WindowsVersion::kWindows98)
        p.gradientFill = winapp::LoadedFunction<decltype(::GradientFill)>(p.imageLibrary, "GradientFill");
}

void ReleasePlatform() {
    Platform& p = ThePlatform();
    p.isThemeActive = nullptr;
    p.setWindowTheme = nullptr;
    if (p.themeLibrary != nullptr)
        FreeLibrary(p.themeLibrary);
    p.themeLibrary = nullptr;
    p.gradientFill = nullptr;
    if (p.imageLibrary != nullptr)
        FreeLibrary(p.imageLibrary);
    p.imageLibrary = nullptr;
}

bool IsThemeActiveNow() {
    const Platform& p = ThePlatform();
    return p.isThemeActive != nullptr && p.isThemeActive();
}

int GetScreenColorCount() {
    static int count = 0;
    if (count == 0) {
        HDC screen = GetDC(nullptr);
        count = GetDeviceCaps(screen, NUMCOLORS);
        ReleaseDC(nullptr, screen);
        if (count == -1 || count == 0)
            count = 64000;
    }
    return count;
}

bool IsSystemDropShadowOn() {
    BOOL on = FALSE;
    return SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &on, 0) && on;
}

SystemColours SystemColoursNow() {
    SystemColours c;
    c.window = GetSysColor(COLOR_WINDOW);
    c.menu = GetSysColor(COLOR_MENU);
    c.btnFace = GetSysColor(COLOR_BTNFACE);
    c.btnText = GetSysColor(COLOR_BTNTEXT);
    c.btnShadow = GetSysColor(COLOR_BTNSHADOW);
    c.btnHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    c.highlight = GetSysColor(COLOR_HIGHLIGHT);
    c.highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    c.menuText = GetSysColor(COLOR_MENUTEXT);
    c.grayText = GetSysColor(COLOR_GRAYTEXT);
    c.activeCaption = GetSysColor(COLOR_ACTIVECAPTION);
    c.captionText = GetSysColor(COLOR_CAPTIONTEXT);
    return c;
}

Display DisplayOf(HDC dc) {
    Display display;
    display.colourCount = GetScreenColorCount();
    display.highContrast = ThePlatform().highContrast;
    display.nearest = [dc](Colour c) { return static_cast<Colour>(GetNearestColor(dc, c)); };
    return display;
}

namespace {

bool BrushColourOf(HMENU menu, Colour& colour) {
    if (menu == nullptr)
        return false;
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    if (!GetMenuInfo(menu, &info) || info.hbrBack == nullptr)
        return false;
    LOGBRUSH brush{};
    // Only a solid brush has one colour: a pattern brush (the themed bars' gradient) reports none
    // (black), and items measured against it would be dark on dark. It counts as no brush.
    if (GetObjectA(info.hbrBack, sizeof brush, &brush) != sizeof brush || brush.lbStyle != BS_SOLID)
        return false;
    colour = brush.lbColor;
    return true;
}

bool FlatMenusOn() {
    BOOL flat = FALSE;
    return SystemParametersInfoA(SPI_GETFLATMENU, 0, &flat, 0) && flat == TRUE;
}

}  // namespace

Colour GetMenuBackgroundColor(HMENU menu) {
    Colour colour;
    if (BrushColourOf(menu, colour))
        return colour;
    if (ThePlatform().versionIndex == WindowsVersion::kXPOrLater && FlatMenusOn())
        return GetSysColor(COLOR_MENUBAR);
    return GetSysColor(COLOR_MENU);
}

Colour GetMenuBarColor(HMENU menu) {
    Colour colour;
    if (BrushColourOf(menu, colour))
        return colour;
    if (ThePlatform().versionIndex == WindowsVersion::kXPOrLater && (FlatMenusOn() || IsThemeActiveNow()))
        return GetSysColor(COLOR_MENUBAR);
    return GetSysColor(COLOR_MENU);
}

Colour GetSelectionFillColorNow() {
    Display display;
    display.colourCount = GetScreenColorCount();
    display.highContrast = ThePlatform().highContrast;
    return GetSelectionFillColor(SystemColoursNow(), display);
}

std::string LastErrorText(DWORD code) {
    if (code == 0)
        return {};
    char* buffer = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                       nullptr, code, 0x400, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer != nullptr) {
        text.assign(buffer, length);
    } else {
        char fallback[64];
        std::snprintf(fallback, sizeof fallback, "Error message 0x%lx not found", static_cast<unsigned long>(code));
        text = fallback;
    }
    if (buffer != nullptr)
        LocalFree(buffer);
    return text;
}

void ReportLastError() {
    const DWORD code = GetLastError();
    if (code == 0)
        return;
    MessageBoxA(nullptr, LastErrorText(code).c_str(), "Error", MB_ICONINFORMATION);
}

}  // namespace menus
