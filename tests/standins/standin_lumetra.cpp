// A stand-in for the monitor in the watcher's tests: notes each start, with its working
// directory, in started.txt beside itself, and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string marker = self;
    marker = marker.substr(0, marker.find_last_of('\\') + 1) + "started.txt";
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    if (std::FILE* file = std::fopen(marker.c_str(), "ab")) {
        std::fprintf(file, "%s\n", folder);
        std::fclose(file);
    }
    return 0;
}
