#include "platform/windows/process_start.h"

#include <charconv>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace platform {

std::optional<std::uint64_t> processStartTime(pid_t pid) {
    if (pid <= 0) return std::nullopt;
    // Opened relative to /proc rather than by its full path: a user-mode emulator answers "/proc/<its
    // pid>/stat" with figures of its own making, whose start time is not the kernel's.
    const int proc = ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (proc < 0) return std::nullopt;
    const std::string path = std::to_string(pid) + "/stat";
    const int fd = ::openat(proc, path.c_str(), O_RDONLY | O_CLOEXEC);
    ::close(proc);
    if (fd < 0) return std::nullopt;
    char buffer[1024];
    const ssize_t length = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    if (length <= 0) return std::nullopt;
    // The command name is in parentheses and may hold anything: the fields are counted after the last ")".
    std::string_view stat(buffer, static_cast<std::size_t>(length));
    const std::size_t close = stat.rfind(')');
    if (close == std::string_view::npos || close + 2 >= stat.size()) return std::nullopt;
    stat.remove_prefix(close + 2);
    if (stat[0] == 'Z' || stat[0] == 'X') return std::nullopt;
    // The state is field 3; the start time is field 22.
    for (int field = 3; field < 22; ++field) {
        const std::size_t space = stat.find(' ');
        if (space == std::string_view::npos) return std::nullopt;
        stat.remove_prefix(space + 1);
    }
    std::uint64_t start = 0;
    if (std::from_chars(stat.data(), stat.data() + stat.size(), start).ec != std::errc()) return std::nullopt;
    return start;
}

} // namespace platform
