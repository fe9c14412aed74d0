#include "platform/system/process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

#ifndef P_PIDFD
#define P_PIDFD 3
#endif

namespace platform {
namespace {

int openPidfd(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

int exitCodeOf(const siginfo_t& info) {
    if (info.si_code == CLD_EXITED) return info.si_status;
    return 128 + info.si_status;
}

// Reaps the children nobody waits for. The thread starts with the first child handed over and sleeps in
// poll() on their pidfds and on an eventfd that announces new children and the stop request.
class Reaper {
public:
    ~Reaper() { stop(); }

    void adopt(pid_t pid) {
        const int pidfd = openPidfd(pid);
        if (pidfd < 0) return;
        std::lock_guard lock(mutex_);
        if (wakeFd_ < 0) {
            wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
            stopping_ = false;
            thread_ = std::thread([this] { run(); });
        }
        pending_.push_back(pidfd);
        wake();
    }

    // Stops the thread at once. Children still running are left alone: they outlive the process, like the
    // programs a Windows process started and forgot, and the system reaps them when the process ends.
    void stop() {
        std::unique_lock lock(mutex_);
        if (wakeFd_ < 0) return;
        stopping_ = true;
        wake();
        lock.unlock();
        thread_.join();
        lock.lock();
        close(wakeFd_);
        wakeFd_ = -1;
    }

private:
    void wake() {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(wakeFd_, &one, sizeof one);
    }

    void run() {
        std::vector<int> watched;
        for (;;) {
            std::vector<pollfd> fds;
            {
                std::lock_guard lock(mutex_);
                watched.insert(watched.end(), pending_.begin(), pending_.end());
                pending_.clear();
                if (stopping_) {
                    for (const int pidfd : watched)
                        close(pidfd);
                    return;
                }
                fds.push_back({wakeFd_, POLLIN, 0});
            }
            for (const int pidfd : watched)
                fds.push_back({pidfd, POLLIN, 0});
            if (poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) return;
            if (fds[0].revents & POLLIN) {
                uint64_t count = 0;
                [[maybe_unused]] const ssize_t got = read(wakeFd_, &count, sizeof count);
            }
            std::vector<int> stillRunning;
            for (size_t i = 1; i < fds.size(); ++i) {
                if (fds[i].revents == 0) {
                    stillRunning.push_back(fds[i].fd);
                    continue;
                }
                siginfo_t info{};
                waitid(static_cast<idtype_t>(P_PIDFD), static_cast<id_t>(fds[i].fd), &info,
                       WEXITED | WNOHANG);
                close(fds[i].fd);
            }
            watched.swap(stillRunning);
        }
    }

    std::mutex mutex_;
    std::thread thread_;
    std::vector<int> pending_;
    int wakeFd_ = -1;
    bool stopping_ = false;
};

Reaper& reaper() {
    static Reaper instance;
    return instance;
}

// Where posix_spawnp would find nothing to run, the error it would give. Checked before spawning because a
// user-mode emulator spawns through fork and exec, and the child's failed exec then reaches us only as exit
// 127.
int programLookupError(const std::string& program) {
    if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0 ? 0 : errno;
    const char* path = std::getenv("PATH");
    std::string_view folders = path && *path ? path : "/bin:/usr/bin";
    int error = ENOENT;
    for (;;) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        std::string candidate;
        candidate.reserve(folder.size() + program.size() + 2);
        candidate += folder.empty() ? std::string_view(".") : folder;
        candidate += '/';
        candidate += program;
        if (access(candidate.c_str(), X_OK) == 0) return 0;
        if (errno == EACCES) error = EACCES;
        if (colon == std::string_view::npos) return error;
        folders.remove_prefix(colon + 1);
    }
}

} // namespace

pid_t spawnProcess(const std::vector<std::string>& argv, bool detached, bool inheritOutput) {
    if (argv.empty() || argv[0].empty()) return -EINVAL;
    if (const int error = programLookupError(argv[0])) return -error;
    std::vector<char*> args;
    for (const std::string& item : argv)
        args.push_back(const_cast<char*>(item.c_str()));
    args.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // The child starts with default signal handling whatever the host did with its own.
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attributes, &all);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    short flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
    if (detached) flags |= POSIX_SPAWN_SETSID;
    posix_spawnattr_setflags(&attributes, flags);

    // Standard input and output are the caller's, or nothing (standard error stays, for diagnostics).
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!inheritOutput) {
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }

    pid_t pid = 0;
    const int error = posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return error == 0 ? pid : -error;
}

std::optional<int> waitForProcess(pid_t pid, int timeoutMs) {
    const int pidfd = openPidfd(pid);
    if (pidfd < 0) return -1;
    pollfd fd{pidfd, POLLIN, 0};
    int ready = 0;
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        int left = timeoutMs;
        if (timeoutMs >= 0) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            const long long spent =
                (now.tv_sec - start.tv_sec) * 1000LL + (now.tv_nsec - start.tv_nsec) / 1000000;
            left = spent >= timeoutMs ? 0 : static_cast<int>(timeoutMs - spent);
        }
        ready = poll(&fd, 1, left);
        if (ready >= 0 || errno != EINTR) break;
    }
    if (ready <= 0) {
        close(pidfd);
        releaseProcess(pid);
        return std::nullopt;
    }
    siginfo_t info{};
    const int waited = waitid(static_cast<idtype_t>(P_PIDFD), static_cast<id_t>(pidfd), &info, WEXITED);
    close(pidfd);
    // Not our child, or a host that ignores SIGCHLD (children are then reaped by the kernel): no exit code.
    if (waited < 0) return -1;
    return exitCodeOf(info);
}

void releaseProcess(pid_t pid) {
    reaper().adopt(pid);
}

bool terminateProcess(pid_t pid) {
    return pid > 0 && kill(pid, SIGKILL) == 0;
}

bool hasDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

bool openWithDesktop(const std::string& target) {
    if (!hasDisplay()) return false;
    const pid_t pid = spawnProcess({"xdg-open", target}, true);
    if (pid < 0) return false;
    releaseProcess(pid);
    return true;
}

} // namespace platform
