// Preloaded into a writer to make it slow: every write() passes at most a small chunk and then sleeps, so a
// racing writer or reader meets its file half written.
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

namespace {
constexpr size_t kChunk = 1024;
constexpr long kPauseNs = 20'000;
using WriteFunction = ssize_t (*)(int, const void*, size_t);
} // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size) {
    static const auto next = reinterpret_cast<WriteFunction>(dlsym(RTLD_NEXT, "write"));
    const ssize_t written = next(fd, data, size < kChunk ? size : kChunk);
    const timespec pause{0, kPauseNs};
    nanosleep(&pause, nullptr);
    return written;
}
