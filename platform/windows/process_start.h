#pragma once
// When a process started, to tell a process from a later one that got the same id.
#include <cstdint>
#include <optional>
#include <sys/types.h>

namespace platform {

// The start time of a running process (clock ticks since boot); nullopt when it has ended (a zombie counts
// as ended) or cannot be seen.
std::optional<std::uint64_t> processStartTime(pid_t pid);

} // namespace platform
