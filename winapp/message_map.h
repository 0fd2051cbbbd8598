// A window's message dispatch table: one entry per handled message, each naming an OnXxx member.
// Every window class of the framework (dialogs, controls, frames) dispatches through the map its
// Messages() returns; a map may go on to the map of the class it derives from.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

namespace winapp {

class Window;

// A notification a control sent to its dialog, offered back to the control's own map first (the
// number the reflected form of WM_NOTIFY has had since the first control containers).
constexpr UINT kReflectedNotify = 0x2000 + WM_NOTIFY;

// The map of one window class, whatever the class.
class MessageTable {
public:
    virtual ~MessageTable() = default;
    // True when an entry handled the message; `result` is the message's result then.
    virtual bool Dispatch(Window& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const = 0;
};

template <class T>
struct MessageEntry {
    UINT message = 0;
    UINT id = 0;      // command or control ID where the message has one
    UINT lastId = 0;  // the last ID of a command range (0: `id` alone)
    WORD code = 0;    // notification code, compared in 16 bits as message maps keep it
    // Returns whether the message was handled; `result` is the message's result then.
    std::function<bool(T&, WPARAM, LPARAM, LRESULT&)> call;
};

// The map of window class T (a Window): its entries in order, then the map of `base` when given.
template <class T>
class MessageMap : public MessageTable {
public:
    MessageMap(std::initializer_list<MessageEntry<T>> entries, const MessageTable* base = nullptr)
        : entries_(entries), base_(base) {}

    bool Dispatch(Window& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const override {
        T& self = static_cast<T&>(window);
        for (const MessageEntry<T>& entry : entries_) {
            if (entry.message != message || !Matches(entry, message, wParam, lParam))
                continue;
            if (entry.call(self, wParam, lParam, result))
                return true;
        }
        return base_ != nullptr && base_->Dispatch(window, message, wParam, lParam, result);
    }

private:
    static bool Matches(const MessageEntry<T>& entry, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND) {
            // Buttons and menus (code 0) and accelerators (code 1).
            const UINT id = LOWORD(wParam);
            const UINT last = entry.lastId != 0 ? entry.lastId : entry.id;
            return id >= entry.id && id <= last && HIWORD(wParam) <= 1;
        }
        if (message == WM_NOTIFY) {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            return header->idFrom == entry.id && static_cast<WORD>(header->code) == entry.code;
        }
        if (message == kReflectedNotify)
            return static_cast<WORD>(reinterpret_cast<const NMHDR*>(lParam)->code) == entry.code;
        return true;
    }

    std::vector<MessageEntry<T>> entries_;
    const MessageTable* base_;
};

// Entry makers; the class is taken from the member pointer.
template <class T>
MessageEntry<T> OnCommand(UINT id, void (T::*handler)()) {
    return {WM_COMMAND, id, 0, 0, [handler](T& w, WPARAM, LPARAM, LRESULT& r) {
                (w.*handler)();
                r = 0;
                return true;
            }};
}

// The commands `first` to `last`; the handler gets the command's ID.
template <class T>
MessageEntry<T> OnCommandRange(UINT first, UINT last, void (T::*handler)(UINT id)) {
    return {WM_COMMAND, first, last, 0, [handler](T& w, WPARAM wp, LPARAM, LRESULT& r) {
                (w.*handler)(LOWORD(wp));
                r = 0;
                return true;
            }};
}

// `code` is the notification code as a 16-bit message map stores it.
template <class T>
MessageEntry<T> OnNotify(UINT id, WORD code, LRESULT (T::*handler)(NMHDR*)) {
    return {WM_NOTIFY, id, 0, code, [handler](T& w, WPARAM, LPARAM l, LRESULT& r) {
                r = (w.*handler)(reinterpret_cast<NMHDR*>(l));
                return true;
            }};
}

// A notification the control itself sent, offered back to it; the handler returns false to leave
// it to its dialog.
template <class T>
MessageEntry<T> OnReflectedNotify(WORD code, bool (T::*handler)(NMHDR*)) {
    return {kReflectedNotify, 0, 0, code, [handler](T& w, WPARAM, LPARAM l, LRESULT& r) {
                r = 0;
                return (w.*handler)(reinterpret_cast<NMHDR*>(l));
            }};
}

// The same, for a handler that gives the notification's result itself.
template <class T>
MessageEntry<T> OnReflectedNotify(WORD code, bool (T::*handler)(NMHDR*, LRESULT&)) {
    return {kReflectedNotify, 0, 0, code, [handler](T& w, WPARAM, LPARAM l, LRESULT& r) {
                r = 0;
                return (w.*handler)(reinterpret_cast<NMHDR*>(l), r);
            }};
}

// The handler returns false to leave the command to the default handling.
template <class T>
MessageEntry<T> OnSysCommand(bool (T::*handler)(UINT id, LPARAM lParam)) {
    return {WM_SYSCOMMAND, 0, 0, 0, [handler](T& w, WPARAM wp, LPARAM l, LRESULT& r) {
                r = 0;
                return (w.*handler)(static_cast<UINT>(wp), l);
            }};
}

// The handler returns false to leave painting to the default handling.
template <class T>
MessageEntry<T> OnPaint(bool (T::*handler)()) {
    return {WM_PAINT, 0, 0, 0, [handler](T& w, WPARAM, LPARAM, LRESULT& r) {
                r = 0;
                return (w.*handler)();
            }};
}

template <class T>
MessageEntry<T> OnQueryDragIcon(HICON (T::*handler)()) {
    return {WM_QUERYDRAGICON, 0, 0, 0, [handler](T& w, WPARAM, LPARAM, LRESULT& r) {
                r = reinterpret_cast<LRESULT>((w.*handler)());
                return true;
            }};
}

// Any other message; the handler returns false to leave it to the default handling.
template <class T>
MessageEntry<T> OnMessage(UINT message, bool (T::*handler)(WPARAM, LPARAM, LRESULT&)) {
    return {message, 0, 0, 0, [handler](T& w, WPARAM wp, LPARAM l, LRESULT& r) { return (w.*handler)(wp, l, r); }};
}

}  // namespace winapp
