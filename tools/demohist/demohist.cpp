// demohist: writes the demo history file (the same bytes on every run and machine).
#include <cstdio>

#include "demo_history.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: demohist FILE\n", stderr);
        return 2;
    }
    if (!demo::WriteHistoryFile(argv[1], demo::MakeDemoHistory())) {
        std::fprintf(stderr, "demohist: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
