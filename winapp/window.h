// Window bases: a non-owning window reference, subclassed child controls, and dialogs. Each
// dispatches its messages through the message map of its class (message_map.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace winapp {

class MessageTable;

class Window {
public:
    virtual ~Window() = default;
    HWND hwnd() const { return hwnd_; }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(hwnd_, message, wParam, lParam);
    }

protected:
    // The message map of the window's class; null for a class that handles nothing itself.
    virtual const MessageTable* Messages() const { return nullptr; }
    // The message offered to the map; true when an entry handled it (with `result`).
    bool DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    HWND hwnd_ = nullptr;
};

// The framework's text for a handler that failed with an exception.
inline constexpr const char kCommandFailed[] = "Command failed.";

// Tells the user that a handler ended with an exception: a stop box with kCommandFailed, not
// repeated while such a box is up.
void ShowHandlerFailure(HWND owner);

// A child window of a dialog, subclassed to see its own messages and the notifications it sends
// to its parent (reflected back by the dialog).
class Control : public Window {
public:
    ~Control() override;

    // Binds the control to an existing window: PreSubclassWindow, then the subclass.
    bool Attach(HWND window);
    void Detach();

    // A notification this control sent, offered to its map as kReflectedNotify; true when the
    // control handled it (with `result`).
    bool ReflectNotify(NMHDR* header, LRESULT& result);

protected:
    // Runs before the window is subclassed; the window handle is set already.
    virtual void PreSubclassWindow() {}

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC original_ = nullptr;
};

class Dialog : public Window {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    ~Dialog() override;

    // Runs the dialog modally in the resource language; the result of EndDialog, or -1.
    INT_PTR DoModal(HWND parent = nullptr);
    // Creates the dialog without a modal loop (used where a caller drives it, as tests do).
    bool Create(HWND parent = nullptr);
    void Destroy();

    void EndDialog(INT_PTR result);
    bool ended() const { return ended_; }
    INT_PTR result() const { return result_; }

protected:
    // Binds the controls; return true to let the system set the focus.
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // A handler ended with an exception: tells the user (a stop box with kCommandFailed); the
    // dialog goes on.
    virtual void ReportHandlerFailure();

    // Subclasses a control of the template; its notifications are offered to it first.
    bool BindControl(Control& control, int id);
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) const { SetDlgItemTextA(hwnd_, id, text.c_str()); }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    bool modal_ = false;
    bool ended_ = false;
    INT_PTR result_ = -1;
    std::vector<Control*> controls_;
};

}  // namespace winapp
