#pragma once
// A mutex that lives in memory shared between processes and survives the death of its holder: the next
// process to lock it gets it with LockResult::Abandoned (the Windows WAIT_ABANDONED). A recursive one may be
// locked again by its holding thread, like a Windows mutex.
//
// Its bytes are the same in the 64-bit and the 32-bit build, which share the segments it lives in, and the
// kernel releases it when its holder dies: between processes it is a record lock (an open-file-description
// lock, F_OFD_SETLK) on its own byte of the lock file of the segment that holds it (segment_lock_files.h);
// the record keeps the holder's process id, which is still there when the next process takes the lock after
// a holder died. Between the threads of one process, and for recursion, a lock of the process stands in
// front of it. Waits with a time-out poll the record lock with a growing pause. A mutex outside a mapped
// shared segment cannot be locked (Failed).
#include <chrono>
#include <cstdint>
#include <optional>

namespace platform {

enum class LockResult { Acquired, Abandoned, Busy, TimedOut, Failed };

inline bool holds(LockResult result) {
    return result == LockResult::Acquired || result == LockResult::Abandoned;
}

struct RobustMutex {
    std::uint32_t kind;  // 0 until initialised, then kNormal or kRecursive
    std::int32_t holder; // process id of the holder; 0 when free
    std::uint8_t reserved[8];

    // Run once, by the creator of the memory, before any other process can see it.
    void initialise(bool recursive);

    // Waits without limit, or at most `timeout`.
    LockResult lock(std::optional<std::chrono::milliseconds> timeout = std::nullopt);
    // Does not wait: Busy when another thread or process holds it.
    LockResult tryLock();
    void unlock();
};

static_assert(sizeof(RobustMutex) == 16, "one layout in both builds");

} // namespace platform
