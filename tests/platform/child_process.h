#pragma once
// Runs a function in a forked child and reports how it ended; the parent test stays in charge of the child.
#include <csignal>
#include <functional>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

class ChildProcess {
public:
    // Forks; the child runs `body` and leaves with its result as exit code (without running destructors).
    explicit ChildProcess(const std::function<int()>& body) : pid_(fork()) {
        if (pid_ == 0) _exit(body());
    }
    ~ChildProcess() {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            wait();
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    // The exit code, or 128 + the signal that ended the child.
    int wait() {
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0) {
        }
        waited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    int kill(int signal) {
        ::kill(pid_, signal);
        return wait();
    }

private:
    pid_t pid_;
    bool waited_ = false;
};

} // namespace testing_support
