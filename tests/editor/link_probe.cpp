// A program of the system that prints through the library, for the editor link tests:
//   link_probe print TEXT     prints TEXT through the output routing, then the frames of its local and the
//   global link link_probe mode DIGITS    starts the local editor (Open(1)), then i_mode(DIGITS) link_probe
//   wait           waits to be ended
//   link_probe lines TAG N    prints N numbered lines "TAG i" into the global screen
#include "services/output/output.h"
#include "services/output/output_mode.h"
#include "services/startup/shared_records.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "print") == 0) {
        mprint(argv[2], 0);
    } else if (argc == 3 && std::strcmp(argv[1], "mode") == 0) {
        if (!Tpadl.Open(1)) return 2;
        std::string digits = argv[2];
        i_mode(digits.data());
    } else if (argc == 4 && std::strcmp(argv[1], "lines") == 0) {
        for (int line = 0, count = std::atoi(argv[3]); line < count; ++line)
            mprintf("$G$%s %d\n", argv[2], line);
    } else if (argc == 2 && std::strcmp(argv[1], "wait") == 0) {
        pause();
    } else {
        return 2;
    }
    std::printf("%llx %llx\n", static_cast<unsigned long long>(Tpadl.frameWindow),
                static_cast<unsigned long long>(g_pTpadG ? g_pTpadG->frameWindow : 0));
    return 0;
}
