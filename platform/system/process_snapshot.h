#pragma once
// The processes of the machine (CreateToolhelp32Snapshot, Process32First/Next), read from /proc.
//
// A process's program is the file its /proc entry links to; when that link cannot be read (a process of
// another user), the first word of its command line stands in. Processes that have ended but are not reaped
// yet (zombies) and kernel threads are left out.
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

struct ProcessEntry {
    pid_t pid = 0;
    std::string programPath; // "" when it cannot be known
    std::string programName; // the last component of the program's path
};

std::vector<ProcessEntry> processSnapshot();

} // namespace platform
