// A window's message dispatch table: one entry per handled message, each naming an OnXxx member.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

namespace winapp {

template <class T>
struct MessageEntry {
    UINT message = 0;
    UINT id = 0;    // command or control ID where the message has one
    WORD code = 0;  // notification code, compared in 16 bits as message maps keep it
    // Returns whether the message was handled; `result` is the message's result then.
    std::function<bool(T&, WPARAM, LPARAM, LRESULT&)> call;
};

template <class T>
class MessageMap {
public:
    MessageMap(std::initializer_list<MessageEntry<T>> entries) : entries_(entries) {}

    bool Dispatch(T& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
        for (const MessageEntry<T>& entry : entries_) {
            if (entry.message != message || !Matches(entry, message, wParam, lParam))
                continue;
            if (entry.call(window, wParam, lParam, result))
                return true;
        }
        return false;
    }

private:
    static bool Matches(const MessageEntry<T>& entry, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND) {
            // Buttons and menus (code 0) and accelerators (code 1).
            return LOWORD(wParam) == entry.id && HIWORD(wParam) <= 1;
        }
        if (message == WM_NOTIFY) {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            return header->idFrom == entry.id && static_cast<WORD>(header->code) == entry.code;
        }
        return true;
    }

    std::vector<MessageEntry<T>> entries_;
};

// Entry makers; the class is taken from the member pointer.
template <class T>
MessageEntry<T> OnCommand(UINT id, void (T::*handler)()) {
    return {WM_COMMAND, id, 0, [handler](T& w, WPARAM, LPARAM, LRESULT& r) {
                (w.*handler)();
                r = 0;
                return true;
            }};
}

// `code` is the notification code as a 16-bit message map stores it.
template <class T>
MessageEntry<T> OnNotify(UINT id, WORD code, LRESULT (T::*handler)(NMHDR*)) {
    return {WM_NOTIFY, id, code, [handler](T& w, WPARAM, LPARAM l, LRESULT& r) {
                r = (w.*handler)(reinterpret_cast<NMHDR*>(l));
                return true;
            }};
}

// The handler returns false to leave the command to the default handling.
template <class T>
MessageEntry<T> OnSysCommand(bool (T::*handler)(UINT id, LPARAM lParam)) {
    return {WM_SYSCOMMAND, 0, 0, [handler](T& w, WPARAM wp, LPARAM l, LRESULT& r) {
                r = 0;
                return (w.*handler)(static_cast<UINT>(wp), l);
            }};
}

// The handler returns false to leave painting to the default handling.
template <class T>
MessageEntry<T> OnPaint(bool (T::*handler)()) {
    return {WM_PAINT, 0, 0, [handler](T& w, WPARAM, LPARAM, LRESULT& r) {
                r = 0;
                return (w.*handler)();
            }};
}

template <class T>
MessageEntry<T> OnQueryDragIcon(HICON (T::*handler)()) {
    return {WM_QUERYDRAGICON, 0, 0, [handler](T& w, WPARAM, LPARAM, LRESULT& r) {
                r = reinterpret_cast<LRESULT>((w.*handler)());
                return true;
            }};
}

// Any other message; the handler returns false to leave it to the default handling.
template <class T>
MessageEntry<T> OnMessage(UINT message, bool (T::*handler)(WPARAM, LPARAM, LRESULT&)) {
    return {message, 0, 0, [handler](T& w, WPARAM wp, LPARAM l, LRESULT& r) { return (w.*handler)(wp, l, r); }};
}

}  // namespace winapp
