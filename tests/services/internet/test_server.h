#pragma once
// Starts the test HTTP server (http_test_server.py) on 127.0.0.1 and stops it when the object goes. The
// proxy variables are cleared first, so that the system's settings lead straight to it.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace internet_testing {

class TestServer {
public:
    explicit TestServer(std::vector<std::string> options = {}) {
        for (const char* name :
             {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            unsetenv(name);
        std::vector<std::string> words = {"python3", ZORTA_TEST_SERVER};
        words.insert(words.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0) throw std::runtime_error("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const int failed = posix_spawnp(&pid_, "python3", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        std::FILE* from = fdopen(out[0], "r");
        if (failed || !from || std::fscanf(from, "%d", &port_) != 1) {
            if (from) std::fclose(from);
            stop();
            throw std::runtime_error("the test server did not start");
        }
        std::fclose(from);
    }
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;
    ~TestServer() { stop(); }

    int port() const { return port_; }
    std::string server() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    void stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }

    pid_t pid_ = 0;
    int port_ = 0;
};

} // namespace internet_testing
