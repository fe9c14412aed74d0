#include "platform/ipc/named_mutex.h"

namespace platform {

NamedMutex::NamedMutex(std::string_view name)
    // Windows mutexes and mappings share one namespace; the suffix keeps a mutex apart from a segment.
    : segment_(std::string(name) + ".mutex", sizeof(RobustMutex),
               [](void* data) { static_cast<RobustMutex*>(data)->initialise(true); }) {}

LockResult NamedMutex::wait(std::optional<std::chrono::milliseconds> timeout) {
    return isOpen() ? mutex()->lock(timeout) : LockResult::Failed;
}

void NamedMutex::release() {
    if (isOpen()) mutex()->unlock();
}

} // namespace platform
