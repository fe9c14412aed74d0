#pragma once
// Processes (CreateProcess, WaitForSingleObject, GetExitCodeProcess, TerminateProcess, ShellExecute "open").
//
// Children are started with posix_spawnp and waited for through a pidfd, so a wait can have a time limit.
// Windows forgets a child once its handles are closed; here a child that nobody waits for any more (started
// without waiting, or still running when a wait gave up) is handed to a reaper thread of the library, so it
// never lingers as a zombie. Needs Linux 5.4 or later (pidfd_open, waitid on a pidfd).
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

// Starts `argv` (argv[0] is looked up along PATH when it holds no "/"); a detached child leads a session of
// its own, so the caller's terminal and signals no longer reach it. Without `inheritOutput` the child's
// standard input and output are /dev/null (Windows' "no inherited handles"). The child's id, or -errno.
pid_t spawnProcess(const std::vector<std::string>& argv, bool detached, bool inheritOutput = true);

// Waits at most `timeoutMs` milliseconds (negative: without limit) for the child to end. Its exit code, 128 +
// the signal that ended it, or -1 when the code cannot be known; nullopt when it is still running, and the
// child is then handed to the reaper.
std::optional<int> waitForProcess(pid_t pid, int timeoutMs);

// Hands a child that will not be waited for to the reaper.
void releaseProcess(pid_t pid);

// Ends a process at once (TerminateProcess); false when it cannot be signalled.
bool terminateProcess(pid_t pid);

// True when a graphical session is reachable (DISPLAY or WAYLAND_DISPLAY is set).
bool hasDisplay();

// Opens a file or an address with the desktop's opener (xdg-open) without waiting; false when the opener
// cannot be started or there is no display.
bool openWithDesktop(const std::string& target);

} // namespace platform
