#pragma once
// Whether this test runs under a user-mode emulator (qemu-user running a 32-bit build on a kernel that runs
// none natively). Such an emulator lays the guest's memory out at its own offset and answers some of /proc
// for itself, so what a test reads of another process's memory or of its own process is not the kernel's.
#include <climits>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace testing_support {

inline bool underUserModeEmulator() {
    // The emulator rewrites "/proc/self/exe" but not a path relative to /proc: that link names the emulator.
    const int proc = ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (proc < 0) return false;
    char target[PATH_MAX] = {};
    const std::string link = std::to_string(::getpid()) + "/exe";
    const ssize_t length = ::readlinkat(proc, link.c_str(), target, sizeof target - 1);
    ::close(proc);
    if (length <= 0) return false;
    const std::string program(target, static_cast<std::size_t>(length));
    return program.find("/qemu-") != std::string::npos;
}

} // namespace testing_support

#define SKIP_UNDER_USER_MODE_EMULATOR(what)                                                                  \
    if (testing_support::underUserModeEmulator()) GTEST_SKIP() << "under a user-mode emulator, " << (what)
