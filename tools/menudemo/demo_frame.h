// The menu demo's frame: a menu bar and popups of styled menus with every kind of item (icons,
// a title, a check, a radio pair, a disabled item, accelerators, separators and window-menu
// commands), switchable between the twelve drawing styles.
#pragma once

#include "menu_frame.h"

namespace menudemo {

class DemoFrame : public menus::CStyledFrameWnd {
public:
    ~DemoFrame() override;

    // Creates the frame (hidden) with its menus and icons.
    bool Create();
    // Makes `style` the active drawing style and repaints the bar; false for an unknown style.
    bool UseStyle(int style);

    HACCEL accelerators() const { return accelerators_; }
    HMENU filePopup() const { return GetSubMenu(menu_.handle(), 0); }
    HMENU viewPopup() const { return GetSubMenu(menu_.handle(), 1); }
    HMENU windowPopup() const { return GetSubMenu(menu_.handle(), 2); }

protected:
    const winapp::MessageTable* Messages() const override { return &kMessages; }

private:
    static const winapp::MessageMap<DemoFrame> kMessages;

    void OnStyle(UINT id);
    void OnViewStatus();
    void SetRadio(UINT id);
    void OnFileExit();
    void OnHelpAbout();
    void OnWindowCommand(UINT id);
    bool OnInitMenuPopup(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnDestroy(WPARAM wParam, LPARAM lParam, LRESULT& result);

    HACCEL accelerators_ = nullptr;
    HBITMAP radioDot_ = nullptr;
    int style_ = 2;
};

// The first item of File > Recent Files, the one with an icon.
constexpr UINT kRecentFileWithIcon = 1010;

// Draws one of the demo's 16 × 15 icons: 0 a new sheet, 1 an open folder, 2 a disk.
HICON MakeDemoIcon(int which);

}  // namespace menudemo
