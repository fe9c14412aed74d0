#include "platform/windows/process_memory.h"

#include <sys/prctl.h>
#include <sys/uio.h>
#include <unistd.h>

namespace platform {

bool readProcessMemory(pid_t process, std::uint64_t address, void* out, std::size_t size) {
    if (process <= 0 || !out) return false;
    if (size == 0) return true;
    iovec local{out, size};
    iovec remote{reinterpret_cast<void*>(address), size};
    return process_vm_readv(process, &local, 1, &remote, 1, 0) == static_cast<ssize_t>(size);
}

bool writeProcessMemory(pid_t process, std::uint64_t address, const void* data, std::size_t size) {
    if (process <= 0 || !data) return false;
    if (size == 0) return true;
    iovec local{const_cast<void*>(data), size};
    iovec remote{reinterpret_cast<void*>(address), size};
    return process_vm_writev(process, &local, 1, &remote, 1, 0) == static_cast<ssize_t>(size);
}

void allowMemoryAccessBy(pid_t process) {
    // Without Yama the call fails with EINVAL and nothing needs allowing.
    if (process > 0 && process != getpid())
        prctl(PR_SET_PTRACER, static_cast<unsigned long>(process), 0, 0, 0);
}

} // namespace platform
