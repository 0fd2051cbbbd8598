// Another program reading the clipboard, as a paint or office program would: the packed DIB that
// is there (CF_DIB) written byte for byte to the file named, or a non-zero exit with the error.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: clipboard_reader FILE\n", stderr);
        return 2;
    }
    // Another program may hold the clipboard for a moment.
    BOOL opened = FALSE;
    for (int attempt = 0; attempt < 50 && !(opened = OpenClipboard(nullptr)); ++attempt)
        Sleep(20);
    if (!opened) {
        std::fprintf(stderr, "OpenClipboard: error %lu\n", GetLastError());
        return 3;
    }
    int status = 0;
    HANDLE data = GetClipboardData(CF_DIB);
    const void* bytes = data != nullptr ? GlobalLock(data) : nullptr;
    if (bytes == nullptr) {
        std::fprintf(stderr, "GetClipboardData(CF_DIB): error %lu\n", GetLastError());
        status = 4;
    } else {
        const SIZE_T size = GlobalSize(data);
        std::FILE* file = std::fopen(argv[1], "wb");
        if (file == nullptr || std::fwrite(bytes, 1, size, file) != size || std::fclose(file) != 0) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            status = 5;
        }
        GlobalUnlock(data);
    }
    CloseClipboard();
    return status;
}
