#include "prompts.h"

namespace winapp {
namespace {

class SystemPromptsImpl : public Prompts {
public:
    int ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT type) override {
        return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
    }
    void TrackPopup(HMENU popup, UINT flags, POINT at, HWND owner) override {
        TrackPopupMenu(popup, flags, at.x, at.y, 0, owner, nullptr);
    }
    POINT CursorPosition() override {
        POINT at{};
        GetCursorPos(&at);
        return at;
    }
};

}  // namespace

Prompts& SystemPrompts() {
    static SystemPromptsImpl prompts;
    return prompts;
}

}  // namespace winapp
