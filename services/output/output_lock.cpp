#include "services/output/output_lock.h"

#include <atomic>

namespace services {

namespace {
std::atomic<std::recursive_mutex*> outputLock{nullptr};
}

void createOutputLock() {
    if (!outputLock.load())
        outputLock = new std::recursive_mutex; // never destroyed: output may come from any destructor
}

std::unique_lock<std::recursive_mutex> lockOutput() {
    std::recursive_mutex* lock = outputLock.load();
    return lock ? std::unique_lock(*lock) : std::unique_lock<std::recursive_mutex>();
}

} // namespace services
