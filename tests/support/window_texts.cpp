// Prints what the visible top-level windows of a title show, for the end-to-end scripts that
// check a program's message box: a line "window" for each such window, then the text of each of
// its child windows (buttons, the message), one a line. Exit code 1 when there is none.
// Usage: window_texts TITLE
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string TextOf(HWND window) {
    std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 2);
    const int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return std::string(text.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

struct Search {
    std::string title;
    int found = 0;
};

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    std::string text = TextOf(child);
    for (char& c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    std::printf("%s\n", text.c_str());
    return TRUE;
}

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM context) {
    Search& search = *reinterpret_cast<Search*>(context);
    if (!IsWindowVisible(window) || TextOf(window) != search.title)
        return TRUE;
    ++search.found;
    std::printf("window\n");
    EnumChildWindows(window, PrintChild, 0);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_texts TITLE\n");
        return 2;
    }
    Search search;
    search.title = argv[1];
    EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found > 0 ? 0 : 1;
}
