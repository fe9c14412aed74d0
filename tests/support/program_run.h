#pragma once
// Runs a command line through the shell and collects what it printed (standard output and error) and how it
// ended.
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace testing_support {

struct ProgramRun {
    int status; // the exit code, -1 when the program did not exit normally
    std::string output;
};

inline ProgramRun runProgram(const std::string& commandLine) {
    FILE* pipe = popen((commandLine + " 2>&1").c_str(), "r");
    ProgramRun run{-1, ""};
    if (!pipe) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace testing_support
