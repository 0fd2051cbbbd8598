// What the visible top-level windows of a title show, for the end-to-end scripts that check a
// program's windows: a line "window" for each such window (its title compared without trailing
// blanks), then the text of each of its child windows, one a line (line breaks as blanks).
//   window_texts TITLE                       exit code 1 when there is no such window
//   window_texts TITLE --fits FACE,POINTS,WEIGHT
//        each text of a static control also says " [fits]" or " [cut]": whether it fits its
//        control, written word-wrapped in that font (the one the program made for it; another
//        process's font cannot be asked for)
//   window_texts TITLE --press ID            posts the command ID (a button's) to each such window
//        that is enabled
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Asked of the window itself: another process's edit control keeps its text to itself otherwise.
std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return std::string();
    std::vector<char> text(length + 2);
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             2000, &copied))
        return std::string();
    return std::string(text.data(), copied < text.size() ? copied : 0);
}

struct Search {
    std::string title;
    HFONT font = nullptr;  // for --fits
    int press = 0;         // for --press
    int found = 0;
};

// Whether a static control's text, word-wrapped in `font`, fits its client area.
bool Fits(HWND control, const std::string& text, HFONT font) {
    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT needed{0, 0, client.right, 0};
    DrawTextA(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return needed.bottom <= client.bottom && needed.right <= client.right;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM context) {
    const Search& search = *reinterpret_cast<const Search*>(context);
    const std::string text = TextOf(child);
    std::string line = text;
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    char type[32] = {};
    GetClassNameA(child, type, sizeof type);
    if (search.font != nullptr && !text.empty() && lstrcmpiA(type, "Static") == 0)
        line += Fits(child, text, search.font) ? " [fits]" : " [cut]";
    std::printf("%s\n", line.c_str());
    return TRUE;
}

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM context) {
    Search& search = *reinterpret_cast<Search*>(context);
    std::string title = TextOf(window);
    title.erase(title.find_last_not_of(' ') + 1);
    if (!IsWindowVisible(window) || title != search.title)
        return TRUE;
    ++search.found;
    if (search.press != 0) {
        // A window behind a modal box is disabled: the press is the box's.
        if (!IsWindowEnabled(window))
            return TRUE;
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(search.press, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, search.press)));
        return TRUE;
    }
    std::printf("window\n");
    EnumChildWindows(window, PrintChild, context);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    Search search;
    if (argc == 2) {
    } else if (argc == 4 && std::strcmp(argv[2], "--press") == 0) {
        search.press = std::atoi(argv[3]);
    } else if (argc == 4 && std::strcmp(argv[2], "--fits") == 0) {
        std::string fontText = argv[3];
        const std::size_t comma = fontText.find(','), second = fontText.rfind(',');
        if (comma == std::string::npos || second == comma)
            return 2;
        HDC dc = GetDC(nullptr);
        const int height = -MulDiv(std::atoi(fontText.c_str() + comma + 1), GetDeviceCaps(dc, LOGPIXELSY), 72);
        ReleaseDC(nullptr, dc);
        search.font = CreateFontA(height, 0, 0, 0, std::atoi(fontText.c_str() + second + 1), FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH, fontText.substr(0, comma).c_str());
        if (search.font == nullptr)
            return 2;
    } else {
        std::fprintf(stderr, "usage: window_texts TITLE [--fits FACE,POINTS,WEIGHT | --press ID]\n");
        return 2;
    }
    search.title = argv[1];
    EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.font != nullptr)
        DeleteObject(search.font);
    return search.found > 0 ? 0 : 1;
}
