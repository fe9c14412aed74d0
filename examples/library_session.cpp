// The library in two processes: the first starts it, leaves a line in the exchange buffer and starts the
// second, which finds the same segments (not zero-filled again), the same folders and message identifiers,
// and reads the line back; the first also converts a few points between projections. Every line is routed
// with "$L$" to the process's own text screen. The second process is this program again, or the program
// named as the argument (the 32-bit build's, which shares the segments).
#include "projection_points.h"
#include "services/output/output.h"
#include "services/startup/exchange_buffer.h"
#include "services/startup/shared_records.h"
#include "services/startup/window_messages.h"

#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

void describe(const char* role) {
    mprintf("$L$%s processus (pid %d, %d bits)\n", role, static_cast<int>(getpid()),
            static_cast<int>(8 * sizeof(void*)));
    if (!g_pZortaGenSeg) {
        mprintf("$L$  pas de segment partag\xe9\n");
        return;
    }
    mprintf("$L$  GlobalZortaGenSeg %d octets, var_gen %lld octets, GlobalZortaQolmexSeg %d octets\n",
            g_pZortaGenSeg->size, static_cast<long long>(pvg->size),
            g_pSZortaTAVRO ? g_pSZortaTAVRO->size : 0);
    mprintf("$L$  r\xe9pertoire d'installation '%s', r\xe9pertoire local '%s'\n", pvg->installFolder,
            pvg->localFolder);
    mprintf("$L$  WM_TAVRO=0x%X WM_TAVROMEM=0x%X WM_ZORTAMOUSE=0x%X WM_ZORTPALET=0x%X\n", wm_Tavro,
            wm_TavroMem, wm_ZortaMouse, wm_ZortaPalet);
}

int startSecond(const char* program) {
    char role[] = "second";
    char* argv[] = {const_cast<char*>(program), role, nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
        mprintf("$L$  impossible de lancer le second processus\n");
        return 1;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc > 1 && std::string_view(argv[1]) == "second") {
        describe("Second");
        char line[128] = {};
        vbbuf_read(line, 0, sizeof line - 1, 1);
        mprintf("$L$  tampon d'\xe9"
                "change lu : '%s'\n",
                line);
        return 0;
    }
    describe("Premier");
    if (convertSamplePoints() != 0) mprintf("$L$  Projections.DEF introuvable\n");
    char line[128];
    std::snprintf(line, sizeof line, "Bonjour du processus %d", static_cast<int>(getpid()));
    vbbuf_write(line, 0, static_cast<unsigned>(std::strlen(line) + 1), 1);
    mprintf("$L$  tampon d'\xe9"
            "change \xe9"
            "crit : '%s'\n",
            line);
    return startSecond(argc > 1 ? argv[1] : "/proc/self/exe");
}
