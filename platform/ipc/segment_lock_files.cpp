#include "platform/ipc/segment_lock_files.h"

#include <cstdint>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <string>
#include <unistd.h>

namespace platform {

namespace {

struct Mapping {
    std::size_t size;
    int fd;
    pid_t process;  // the process that registered the file
    int ownFd = -1; // a child forked from it: a description of its own, opened on first use
};

// Record locks belong to an open description, which a forked child shares with its parent: the child locks
// through a description of its own, or it would hold whatever its parent holds.
int descriptionFor(Mapping& mapping) {
    if (mapping.process == getpid()) return mapping.fd;
    if (mapping.ownFd < 0) {
        const std::string path = "/proc/self/fd/" + std::to_string(mapping.fd);
        mapping.ownFd = open(path.c_str(), O_RDWR | O_CLOEXEC);
        mapping.process = getpid();
        mapping.fd = mapping.ownFd;
    }
    return mapping.fd;
}

// By start address. Never destroyed: segments of static objects are closed after static destructors run.
std::mutex& tableLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

std::map<std::uintptr_t, Mapping>& table() {
    static auto* mappings = new std::map<std::uintptr_t, Mapping>;
    return *mappings;
}

} // namespace

void registerSegmentLockFile(const void* data, std::size_t size, int fd) {
    std::lock_guard guard(tableLock());
    table()[reinterpret_cast<std::uintptr_t>(data)] = Mapping{size, fd, getpid()};
}

void unregisterSegmentLockFile(const void* data) {
    std::lock_guard guard(tableLock());
    const auto found = table().find(reinterpret_cast<std::uintptr_t>(data));
    if (found == table().end()) return;
    if (found->second.ownFd >= 0) close(found->second.ownFd);
    table().erase(found);
}

std::optional<LockFilePlace> segmentLockFileOf(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::lock_guard guard(tableLock());
    auto next = table().upper_bound(at);
    if (next == table().begin()) return std::nullopt;
    auto& [start, mapping] = *std::prev(next);
    if (at - start >= mapping.size) return std::nullopt;
    const int fd = descriptionFor(mapping);
    if (fd < 0) return std::nullopt;
    return LockFilePlace{fd, at - start};
}

} // namespace platform
