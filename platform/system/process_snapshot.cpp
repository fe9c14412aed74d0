#include "platform/system/process_snapshot.h"

#include "platform/files/atomic_file.h"

#include <charconv>
#include <dirent.h>
#include <memory>
#include <optional>
#include <unistd.h>

namespace platform {
namespace {

std::optional<pid_t> pidOfEntry(const char* name) {
    pid_t pid = 0;
    const char* end = name;
    while (*end)
        ++end;
    const auto [stop, error] = std::from_chars(name, end, pid);
    if (error != std::errc() || stop != end || pid <= 0) return std::nullopt;
    return pid;
}

// The state letter of /proc/PID/stat: it follows the command name, which is in parentheses and may hold any
// character, so the last ")" is looked for.
char stateOf(const std::string& folder) {
    const std::optional<std::string> stat = readWholeFile(folder + "/stat");
    if (!stat) return '?';
    const size_t close = stat->rfind(')');
    return close != std::string::npos && close + 2 < stat->size() ? (*stat)[close + 2] : '?';
}

std::string programOf(const std::string& folder) {
    char target[4096];
    const ssize_t length = readlink((folder + "/exe").c_str(), target, sizeof target - 1);
    if (length > 0) {
        std::string path(target, static_cast<size_t>(length));
        // A program file renamed or deleted while it runs.
        constexpr std::string_view deleted = " (deleted)";
        if (path.ends_with(deleted)) path.resize(path.size() - deleted.size());
        return path;
    }
    const std::optional<std::string> commandLine = readWholeFile(folder + "/cmdline");
    if (!commandLine || commandLine->empty()) return {};
    return commandLine->substr(0, commandLine->find('\0'));
}

} // namespace

std::vector<ProcessEntry> processSnapshot() {
    std::vector<ProcessEntry> processes;
    std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), closedir);
    if (!proc) return processes;
    while (const dirent* entry = readdir(proc.get())) {
        const std::optional<pid_t> pid = pidOfEntry(entry->d_name);
        if (!pid) continue;
        const std::string folder = std::string("/proc/") + entry->d_name;
        const char state = stateOf(folder);
        if (state == 'Z' || state == 'X' || state == '?') continue;
        std::string path = programOf(folder);
        if (path.empty()) continue;
        std::string name = path.substr(path.rfind('/') + 1);
        processes.push_back({*pid, std::move(path), std::move(name)});
    }
    return processes;
}

} // namespace platform
