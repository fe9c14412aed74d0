#pragma once
// Runs an outside tool through the shell and hands back its exit code and standard output.
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace testing_support {

struct ShellResult {
    int exitCode = -1;
    std::string output;
};

inline ShellResult runShell(const std::string& command) {
    ShellResult result;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char block[4096];
    std::size_t read;
    while ((read = std::fread(block, 1, sizeof block, pipe)) > 0)
        result.output.append(block, read);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// `text` quoted for the shell.
inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace testing_support
