#pragma once
// The lock file of each shared segment this process has mapped: locks that live in a segment take their
// record locks on it (see robust_mutex.h). A segment's users file serves: every process that maps the segment
// keeps its own open description of it for as long as the mapping lives.
#include <cstddef>
#include <optional>

namespace platform {

struct LockFilePlace {
    int fd;             // the lock file
    std::size_t offset; // the lock's byte in it: its offset in the segment
};

void registerSegmentLockFile(const void* data, std::size_t size, int fd);
void unregisterSegmentLockFile(const void* data);
// The lock file and byte of an address inside a mapped segment; nothing for other memory.
std::optional<LockFilePlace> segmentLockFileOf(const void* address);

} // namespace platform
