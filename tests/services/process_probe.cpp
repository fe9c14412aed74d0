// A program that the process tests copy under a name of their own: "sleep" waits to be ended; "find NAME OUT"
// runs DOS::FindProcess(NAME, FLAGS) and writes "<result> <own id>" to OUT.
#include "services/dos/dos.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc >= 2 && !std::strcmp(argv[1], "sleep")) {
        sleep(60);
        return 0;
    }
    if (argc >= 5 && !std::strcmp(argv[1], "find")) {
        const int found = DOS::FindProcess(argv[2], std::atoi(argv[4]));
        std::FILE* out = std::fopen(argv[3], "w");
        if (!out) return 2;
        std::fprintf(out, "%d %d", found, static_cast<int>(getpid()));
        std::fclose(out);
        return 0;
    }
    return 1;
}
