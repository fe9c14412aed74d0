#pragma once
// A mutex that lives in memory shared between processes and survives the death of its holder: the next
// process to lock it gets it with LockResult::Abandoned (the Windows WAIT_ABANDONED) and the mutex is made
// consistent again. A recursive one may be locked again by its holding thread, like a Windows mutex.
#include <chrono>
#include <optional>
#include <pthread.h>

namespace platform {

enum class LockResult { Acquired, Abandoned, Busy, TimedOut, Failed };

inline bool holds(LockResult result) {
    return result == LockResult::Acquired || result == LockResult::Abandoned;
}

struct RobustMutex {
    pthread_mutex_t mutex;

    // Run once, by the creator of the memory, before any other process can see it.
    void initialise(bool recursive);

    // Waits without limit, or at most `timeout`.
    LockResult lock(std::optional<std::chrono::milliseconds> timeout = std::nullopt);
    // Does not wait: Busy when another thread holds it.
    LockResult tryLock();
    void unlock();
};

} // namespace platform
