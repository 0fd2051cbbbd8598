#include "window.h"

#include <algorithm>
#include <functional>

#include "app.h"
#include "message_map.h"
#include "procedures.h"
#include "resources.h"

namespace winapp {
namespace {

// A failure box is up: failures of handlers that run inside its message loop (a repaint, say) are
// not told again, so the boxes cannot pile up.
bool g_reportingFailure = false;

void ReportOnce(const std::function<void()>& report) {
    if (g_reportingFailure)
        return;
    g_reportingFailure = true;
    report();
    g_reportingFailure = false;
}

}  // namespace

void ShowHandlerFailure(HWND owner) {
    ReportOnce([owner] { MessageBoxA(owner, kCommandFailed, ProgramTitle().c_str(), MB_OK | MB_ICONSTOP); });
}

bool Window::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const MessageTable* table = Messages();
    return table != nullptr && table->Dispatch(*this, message, wParam, lParam, result);
}

Control::~Control() {
    Detach();
}

// Subclassed the classic way: the window's own procedure is replaced and called for everything we
// leave alone. (The common controls' subclass helper looks its chain up in a window property on
// every message, which costs a server round trip per message under some systems.)
bool Control::Attach(HWND window) {
    if (window == nullptr || hwnd_ != nullptr)
        return false;
    hwnd_ = window;
    PreSubclassWindow();
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, ProcedureValue(&Control::SubclassProc)));
    if (original_ == nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        return false;
    }
    return true;
}

void Control::Detach() {
    if (hwnd_ == nullptr)
        return;
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, ProcedureValue(original_));
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    original_ = nullptr;
}

bool Control::ReflectNotify(NMHDR* header, LRESULT& result) {
    return DispatchToMap(kReflectedNotify, 0, reinterpret_cast<LPARAM>(header), result);
}

LRESULT Control::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(original_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Control::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = reinterpret_cast<Control*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (control == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    const WNDPROC original = control->original_;
    if (message == WM_NCDESTROY) {
        control->Detach();
        return CallWindowProcW(original, window, message, wParam, lParam);
    }
    LRESULT result = 0;
    try {
        if (control->DispatchToMap(message, wParam, lParam, result))
            return result;
    } catch (...) {
        // No exception may cross the system's window procedure.
        ShowHandlerFailure(GetParent(window));
        return 0;
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

Dialog::~Dialog() {
    Destroy();
}

INT_PTR Dialog::DoModal(HWND parent) {
    const DLGTEMPLATE* dialogTemplate = LoadDialogTemplate(templateId_);
    if (dialogTemplate == nullptr)
        return -1;
    modal_ = true;
    ended_ = false;
    const INT_PTR result =
        DialogBoxIndirectParamA(ResourceInstance(), dialogTemplate, parent, DialogProc, reinterpret_cast<LPARAM>(this));
    modal_ = false;
    hwnd_ = nullptr;
    controls_.clear();
    return result;
}

bool Dialog::Create(HWND parent) {
    const DLGTEMPLATE* dialogTemplate = LoadDialogTemplate(templateId_);
    if (dialogTemplate == nullptr || hwnd_ != nullptr)
        return false;
    modal_ = false;
    ended_ = false;
    return CreateDialogIndirectParamA(ResourceInstance(), dialogTemplate, parent, DialogProc,
                                      reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::Destroy() {
    if (hwnd_ != nullptr && !modal_)
        DestroyWindow(hwnd_);
}

void Dialog::EndDialog(INT_PTR result) {
    ended_ = true;
    result_ = result;
    if (modal_)
        ::EndDialog(hwnd_, result);
}

void Dialog::ReportHandlerFailure() {
    MessageBoxA(hwnd_, kCommandFailed, ProgramTitle().c_str(), MB_OK | MB_ICONSTOP);
}

bool Dialog::BindControl(Control& control, int id) {
    if (!control.Attach(GetDlgItem(hwnd_, id)))
        return false;
    controls_.push_back(&control);
    return true;
}

std::string Dialog::ItemText(int id) const {
    HWND item = GetDlgItem(hwnd_, id);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(item, text.data(), static_cast<int>(text.size()))));
    return text;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->hwnd_ = window;
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (self == nullptr)
        return FALSE;
    INT_PTR handled = FALSE;
    try {
        handled = self->HandleDialogMessage(message, wParam, lParam);
    } catch (...) {
        // No exception may cross the system's dialog procedure: the handler's work ends here.
        ReportOnce([self] { self->ReportHandlerFailure(); });
        handled = TRUE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        self->controls_.clear();
    }
    return handled;
}

INT_PTR Dialog::HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
        case WM_INITDIALOG:
            // The map sees it first (nothing it answers counts); the dialog's own set-up decides.
            DispatchToMap(message, wParam, lParam, result);
            return OnInitDialog() ? TRUE : FALSE;
        case WM_NOTIFY: {
            // The sending control sees its notification first, as its own handler.
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            const auto sender = std::find_if(controls_.begin(), controls_.end(),
                                             [header](const Control* c) { return c->hwnd() == header->hwndFrom; });
            if (sender != controls_.end() && (*sender)->ReflectNotify(header, result)) {
                SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
                return TRUE;
            }
            break;
        }
        default:
            break;
    }
    if (DispatchToMap(message, wParam, lParam, result)) {
        // These messages return their result directly; all others through the message result slot.
        if (message == WM_QUERYDRAGICON || message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC ||
            message == WM_CTLCOLORBTN || message == WM_CTLCOLOREDIT) {
            return static_cast<INT_PTR>(result);
        }
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace winapp
