// Message boxes and popup menus, behind one seam so that dialogs can be driven without a person.
#pragma once

#include <windows.h>

#include <string>

namespace winapp {

class Prompts {
public:
    virtual ~Prompts() = default;
    // As MessageBox: the button pressed.
    virtual int ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;
    // Shows a popup menu at a screen position; a chosen command reaches `owner` as WM_COMMAND.
    virtual void TrackPopup(HMENU popup, UINT flags, POINT at, HWND owner) = 0;
    virtual POINT CursorPosition() = 0;
};

// The system's own message boxes and menus.
Prompts& SystemPrompts();

}  // namespace winapp
