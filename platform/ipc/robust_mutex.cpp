#include "platform/ipc/robust_mutex.h"

#include "platform/ipc/segment_lock_files.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::uint32_t kNormal = 0x4E4D5458;    // "XTMN"
constexpr std::uint32_t kRecursive = 0x524D5458; // "XTMR"

using Clock = std::chrono::steady_clock;
using Deadline = std::optional<Clock::time_point>;

// What this process knows of one mutex: which of its threads holds it, and how many times.
struct ProcessSide {
    std::mutex lock;
    std::condition_variable freed;
    std::thread::id owner;
    int depth = 0;
    pid_t process = 0; // a child forked from a holder starts afresh
};

ProcessSide& processSideOf(const RobustMutex* mutex) {
    static auto* tableLock = new std::mutex; // never destroyed: locks are used until the process ends
    static auto* table = new std::map<const RobustMutex*, std::unique_ptr<ProcessSide>>;
    std::lock_guard guard(*tableLock);
    auto& side = (*table)[mutex];
    if (!side || side->process != getpid()) {
        side.reset(new ProcessSide);
        side->process = getpid();
    }
    return *side;
}

flock recordOf(const LockFilePlace& place, short type) {
    flock record{};
    record.l_type = type;
    record.l_whence = SEEK_SET;
    record.l_start = static_cast<off_t>(place.offset);
    record.l_len = 1;
    return record;
}

// The record lock between processes: waits without limit, until `deadline`, or not at all (`poll` false).
LockResult lockRecord(const LockFilePlace& place, const Deadline& deadline, bool wait) {
    flock record = recordOf(place, F_WRLCK);
    if (wait && !deadline) {
        while (fcntl(place.fd, F_OFD_SETLKW, &record) != 0)
            if (errno != EINTR) return LockResult::Failed;
        return LockResult::Acquired;
    }
    auto pause = std::chrono::microseconds(200);
    for (;;) {
        if (fcntl(place.fd, F_OFD_SETLK, &record) == 0) return LockResult::Acquired;
        if (errno != EAGAIN && errno != EACCES && errno != EINTR) return LockResult::Failed;
        if (!wait) return LockResult::Busy;
        const auto now = Clock::now();
        if (now >= *deadline) return LockResult::TimedOut;
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, *deadline - now));
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
}

void unlockRecord(const LockFilePlace& place) {
    flock record = recordOf(place, F_UNLCK);
    fcntl(place.fd, F_OFD_SETLK, &record);
}

LockResult take(RobustMutex* mutex, const Deadline& deadline, bool wait) {
    if (mutex->kind != kNormal && mutex->kind != kRecursive) return LockResult::Failed;
    const auto place = segmentLockFileOf(mutex);
    if (!place) return LockResult::Failed;
    ProcessSide& side = processSideOf(mutex);
    const auto me = std::this_thread::get_id();
    std::unique_lock guard(side.lock);
    if (side.depth > 0 && side.owner == me) {
        // A normal mutex locked again by its holder would never be released.
        if (mutex->kind != kRecursive) return wait ? LockResult::Failed : LockResult::Busy;
        ++side.depth;
        return LockResult::Acquired;
    }
    const auto isFree = [&] { return side.depth == 0; };
    if (!wait && !isFree()) return LockResult::Busy;
    if (!deadline)
        side.freed.wait(guard, isFree);
    else if (!side.freed.wait_until(guard, *deadline, isFree))
        return LockResult::TimedOut;
    // Claimed in the process first, so that its other threads wait here rather than on the record.
    side.owner = me;
    side.depth = 1;
    guard.unlock();

    const LockResult between = lockRecord(*place, deadline, wait);
    if (between != LockResult::Acquired) {
        guard.lock();
        side.depth = 0;
        side.owner = {};
        side.freed.notify_one();
        return between;
    }
    const std::int32_t previous =
        __atomic_exchange_n(&mutex->holder, static_cast<std::int32_t>(getpid()), __ATOMIC_SEQ_CST);
    // The kernel released the record of a holder that died; the word it left says so.
    return previous != 0 ? LockResult::Abandoned : LockResult::Acquired;
}

} // namespace

void RobustMutex::initialise(bool recursive) {
    kind = recursive ? kRecursive : kNormal;
    holder = 0;
}

LockResult RobustMutex::lock(std::optional<std::chrono::milliseconds> timeout) {
    Deadline deadline;
    if (timeout) deadline = Clock::now() + *timeout;
    return take(this, deadline, true);
}

LockResult RobustMutex::tryLock() {
    return take(this, std::nullopt, false);
}

void RobustMutex::unlock() {
    const auto place = segmentLockFileOf(this);
    if (!place) return;
    ProcessSide& side = processSideOf(this);
    std::lock_guard guard(side.lock);
    if (side.depth == 0 || side.owner != std::this_thread::get_id()) return;
    if (--side.depth > 0) return;
    __atomic_store_n(&holder, 0, __ATOMIC_SEQ_CST);
    unlockRecord(*place);
    side.owner = {};
    side.freed.notify_one();
}

} // namespace platform
