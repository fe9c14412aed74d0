#pragma once
// A named mutex (CreateMutexA, WaitForSingleObject, ReleaseMutex): a robust, recursive, process-shared mutex
// in a small shared segment of its own. A holder that dies leaves it abandoned: the next wait gets it with
// LockResult::Abandoned, as WAIT_ABANDONED on Windows. The name takes the ZORTA_NAMESPACE prefix.
#include "platform/ipc/robust_mutex.h"
#include "platform/ipc/shared_segment.h"

#include <string>
#include <string_view>

namespace platform {

class NamedMutex {
public:
    // Opens the mutex `name`, creating it (not held) when no process has it open.
    explicit NamedMutex(std::string_view name);

    bool isOpen() const { return segment_.isOpen(); }
    const std::string& error() const { return segment_.error(); }

    // Waits without limit, or at most `timeout`; Failed when the mutex is not open.
    LockResult wait(std::optional<std::chrono::milliseconds> timeout = std::nullopt);
    void release();

private:
    RobustMutex* mutex() const { return static_cast<RobustMutex*>(segment_.data()); }

    SharedSegment segment_;
};

} // namespace platform
