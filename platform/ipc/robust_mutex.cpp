#include "platform/ipc/robust_mutex.h"

#include <cerrno>
#include <ctime>

namespace platform {

namespace {

LockResult resultOf(pthread_mutex_t* mutex, int error) {
    switch (error) {
    case 0:
        return LockResult::Acquired;
    case EOWNERDEAD:
        // The holder died: the protected data may be half written, but the mutex itself is usable again.
        return pthread_mutex_consistent(mutex) == 0 ? LockResult::Abandoned : LockResult::Failed;
    case EBUSY:
        return LockResult::Busy;
    case ETIMEDOUT:
        return LockResult::TimedOut;
    default:
        return LockResult::Failed;
    }
}

} // namespace

void RobustMutex::initialise(bool recursive) {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    pthread_mutexattr_settype(&attributes, recursive ? PTHREAD_MUTEX_RECURSIVE : PTHREAD_MUTEX_NORMAL);
    pthread_mutex_init(&mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
}

LockResult RobustMutex::lock(std::optional<std::chrono::milliseconds> timeout) {
    if (!timeout) return resultOf(&mutex, pthread_mutex_lock(&mutex));
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    const auto total = std::chrono::nanoseconds(*timeout).count() + deadline.tv_nsec;
    deadline.tv_sec += static_cast<time_t>(total / 1000000000);
    deadline.tv_nsec = static_cast<long>(total % 1000000000);
    return resultOf(&mutex, pthread_mutex_clocklock(&mutex, CLOCK_MONOTONIC, &deadline));
}

LockResult RobustMutex::tryLock() {
    return resultOf(&mutex, pthread_mutex_trylock(&mutex));
}

void RobustMutex::unlock() {
    pthread_mutex_unlock(&mutex);
}

} // namespace platform
