#pragma once
// Runs the segment probe as a separate program, with its output on a pipe and, optionally, its own namespace.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace testing_support {

class ProbeProcess {
public:
    // Starts the probe with `arguments`; with `subNamespace` the probe's machine-wide names get that suffix
    // after this test's namespace, so that this process is not one of their users. `program` is the probe of
    // this build unless another is named (the other build's).
    ProbeProcess(std::vector<std::string> arguments, const std::string& subNamespace = "",
                 const char* program = PROBE_PATH) {
        int out[2];
        int in[2];
        if (pipe(out) != 0 || pipe(in) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        arguments.insert(arguments.begin(), program);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        std::vector<std::string> environment;
        for (char** variable = environ; *variable; ++variable)
            if (subNamespace.empty() || std::string_view(*variable).rfind("ZORTA_NAMESPACE=", 0) != 0)
                environment.emplace_back(*variable);
        if (!subNamespace.empty())
            environment.push_back("ZORTA_NAMESPACE=" + std::string(std::getenv("ZORTA_NAMESPACE")) +
                                  subNamespace);
        std::vector<char*> envp;
        for (std::string& variable : environment)
            envp.push_back(variable.data());
        envp.push_back(nullptr);
        if (posix_spawn(&pid_, program, &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(in[0]);
        output_ = out[0];
        input_ = in[1];
    }
    ~ProbeProcess() {
        if (pid_ > 0 && !ended_) kill(SIGKILL);
        close(output_);
        if (input_ >= 0) close(input_);
    }
    ProbeProcess(const ProbeProcess&) = delete;
    ProbeProcess& operator=(const ProbeProcess&) = delete;

    // The probe's output up to the line that holds `text` (or all of it), waiting at most `limit`.
    std::string readUntil(const std::string& text,
                          std::chrono::milliseconds limit = std::chrono::seconds(20)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (text.empty() || output.find(text) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd ready{output_, POLLIN, 0};
            if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
            char buffer[512];
            const ssize_t got = ::read(output_, buffer, sizeof buffer);
            if (got <= 0) break;
            output.append(buffer, static_cast<std::size_t>(got));
        }
        return output;
    }

    // Ends standard input (the "hold" command leaves then) and waits for the exit code; a probe that has not
    // ended within `limit` is killed and the test fails.
    int finish(std::chrono::milliseconds limit = std::chrono::seconds(60)) {
        if (input_ >= 0) {
            close(input_);
            input_ = -1;
        }
        readUntil("", limit);
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "the probe did not end in time";
                return kill(SIGKILL);
            }
            usleep(10000);
        }
        ended_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    int kill(int signal) {
        ::kill(pid_, signal);
        int status = 0;
        waitpid(pid_, &status, 0);
        ended_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    std::string output;

private:
    pid_t pid_ = -1;
    int output_ = -1;
    int input_ = -1;
    bool ended_ = false;
};

} // namespace testing_support
