// Starting programs and documents, finding and ending processes, controlling services.
#include "services/dos/dos.h"
#include "services/dos/start_program.h"
#include "services/output/output.h"
#include "services/startup/shared_records.h"

#include "platform/base/ascii.h"
#include "platform/files/path_map.h"
#include "platform/system/command_line.h"
#include "platform/system/process.h"
#include "platform/system/process_snapshot.h"
#include "platform/system/service_control.h"
#include "platform/windows/message_bus.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kOpenWithDesktop = 0x2;
constexpr int kDetached = 0x4;
constexpr int kShellFallback = 0x1;
// Waits from this many milliseconds on have a limit; shorter ones wait for the end.
constexpr int kTimedWait = 1000;

bool endsWithExe(std::string_view name) {
    return name.size() > 4 && platform::sameNoCase(name.substr(name.size() - 4), ".exe");
}

bool isPath(std::string_view program) {
    return program.find_first_of("\\/") != std::string_view::npos ||
           (program.size() > 1 && program[1] == ':');
}

bool exists(const std::string& hostPath) {
    struct stat st;
    return stat(hostPath.c_str(), &st) == 0;
}

// A path to "X.exe" is the file "X" when there is no "X.exe".
std::string programFile(const std::string& given) {
    if (!isPath(given)) return given;
    const std::string mapped = platform::hostPath(given);
    if (exists(mapped) || !endsWithExe(given)) return mapped;
    return platform::hostPath(given.substr(0, given.size() - 4));
}

// What "/x" or flags bit 1 opens: an address as it is, a path through the path mapper.
std::string documentOf(std::string_view text) {
    while (!text.empty() && platform::isBlank(text.front()))
        text.remove_prefix(1);
    const std::string document(text);
    return document.find("://") != std::string::npos ? document : platform::hostPath(document);
}

// The program's file name that a process is matched on: the last component of the argument.
std::string fileNameOf(std::string_view program) {
    const size_t separator = program.find_last_of("\\/");
    return std::string(separator == std::string_view::npos ? program : program.substr(separator + 1));
}

bool sameProgram(const std::string& running, const std::string& wanted) {
    if (platform::sameNoCase(running, wanted)) return true;
    return endsWithExe(wanted) &&
           platform::sameNoCase(running, std::string_view(wanted).substr(0, wanted.size() - 4));
}

// The windows the new process's main thread shows already; the last one is kept as the last program's window.
void keepLastProgramWindow(pid_t pid) {
    for (platform::Hwnd window : platform::window_table::topLevelWindows()) {
        const std::optional<platform::WindowOwner> owner = platform::window_table::ownerOf(window);
        if (pvg && owner && owner->thread == pid) pvg->editorStartWord = static_cast<std::int64_t>(window);
    }
}

} // namespace

pid_t services::startProgram(std::vector<std::string> argv, bool detached, bool inheritOutput) {
    argv[0] = programFile(argv[0]);
    pid_t pid = platform::spawnProcess(argv, detached, inheritOutput);
    if (pid == -ENOENT && !isPath(argv[0]) && endsWithExe(argv[0])) {
        argv[0].resize(argv[0].size() - 4);
        pid = platform::spawnProcess(argv, detached, inheritOutput);
    }
    return pid;
}

int mshell(const char* commandLine, int wait, int flags) {
    if (!commandLine) return -1;
    const std::string_view command(commandLine);
    if (command.starts_with("/x") || (flags & kOpenWithDesktop)) {
        platform::openWithDesktop(documentOf(command.starts_with("/x") ? command.substr(2) : command));
        return 0;
    }
    const std::vector<std::string> argv = platform::splitCommandLine(command);
    if (argv.empty() || argv[0].empty()) return -1;

    const platform::Hwnd remembered = platform::window_table::foreground();
    const pid_t pid = services::startProgram(argv, flags & kDetached);
    if (pid < 0) {
        if (!(flags & kShellFallback)) return 0;
        const pid_t shell =
            platform::spawnProcess({"/bin/sh", "-c", std::string(command)}, flags & kDetached);
        if (shell < 0) return -1;
        platform::releaseProcess(shell);
        return 0;
    }
    if (wait <= 0) {
        keepLastProgramWindow(pid);
        platform::releaseProcess(pid);
        return pid;
    }
    const std::optional<int> code = platform::waitForProcess(pid, wait >= kTimedWait ? wait : -1);
    if (remembered) MyForegroundWindow(remembered);
    return code ? *code : STILL_ACTIVE;
}

int DOS::Shell(const char* commandLine, int wait) {
    return mshell(commandLine, wait, kShellFallback);
}

int DOS::FindProcess(const char* program, int flags) {
    if (!program || !*program) return 0;
    const std::string wanted = fileNameOf(program);
    const pid_t self = getpid();
    int last = 0;
    for (const platform::ProcessEntry& process : platform::processSnapshot()) {
        if (!sameProgram(process.programName, wanted)) continue;
        last = process.pid;
        if (!(flags & 1)) return last;
        if (process.pid == self) continue;
        platform::terminateProcess(process.pid);
        if ((flags & 2) && !process.programPath.empty())
            std::rename(process.programPath.c_str(), (process.programPath + ".BAK").c_str());
    }
    return last;
}

int DOS::CloseService(const char* name, int flags) {
    using platform::ServiceAction;
    const std::string service = name ? name : "";
    platform::ServiceOutcome last = platform::openService(service);
    const auto run = [&](ServiceAction action) {
        last = platform::controlService(service, action);
        if (!last.done) mprintf("Service %s : %s\n", service.c_str(), last.reason.c_str());
    };
    if (!last.done) {
        mprintf("Service %s : %s\n", service.c_str(), last.reason.c_str());
        return 0;
    }
    if (!(flags & 0x10)) run(ServiceAction::Stop);
    if (flags & 0x4) run(ServiceAction::Delete);
    if (flags & 0x1)
        run(ServiceAction::StartOnDemand);
    else if (flags & 0x2)
        run(ServiceAction::Disable);
    else if (flags & 0x8)
        run(ServiceAction::StartAutomatically);
    if (flags & 0x10) {
        last = platform::controlService(service, ServiceAction::Continue);
        if (!last.done) run(ServiceAction::Start);
    }
    return last.done ? 1 : 0;
}
