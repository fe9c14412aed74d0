// Children started, waited for with and without a limit, reaped; the process snapshot; services through a
// stand-in systemctl.
#include "platform/system/process.h"
#include "platform/system/process_snapshot.h"
#include "platform/system/service_control.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using testing_support::readFile;
using testing_support::TempFolder;

bool isZombieOrGone(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    return text.empty() || (close != std::string::npos && text[close + 2] == 'Z');
}

TEST(Process, ExitCodesAndSignalsAreReported) {
    const pid_t exits = platform::spawnProcess({"sh", "-c", "exit 7"}, false);
    ASSERT_GT(exits, 0);
    EXPECT_EQ(platform::waitForProcess(exits, -1), 7);

    const pid_t killed = platform::spawnProcess({"sleep", "30"}, false);
    ASSERT_GT(killed, 0);
    EXPECT_TRUE(platform::terminateProcess(killed));
    EXPECT_EQ(platform::waitForProcess(killed, -1), 128 + SIGKILL);
}

TEST(Process, AMissingProgramIsAnError) {
    EXPECT_EQ(platform::spawnProcess({"zorta-no-such-program"}, false), -ENOENT);
    EXPECT_EQ(platform::spawnProcess({}, false), -EINVAL);
}

TEST(Process, AWaitWithALimitLeavesTheChildToTheReaper) {
    const pid_t pid = platform::spawnProcess({"sleep", "0.3"}, true);
    ASSERT_GT(pid, 0);
    EXPECT_EQ(platform::waitForProcess(pid, 50), std::nullopt);
    // Once it ends, the reaper collects it: it does not linger as a zombie.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (kill(pid, 0) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_NE(kill(pid, 0), 0) << "the child is still there, zombie: " << isZombieOrGone(pid);
}

TEST(ProcessSnapshot, ListsLiveProcessesByProgramName) {
    const pid_t pid = platform::spawnProcess({"sleep", "30"}, false);
    ASSERT_GT(pid, 0);
    bool self = false;
    bool child = false;
    for (const platform::ProcessEntry& entry : platform::processSnapshot()) {
        if (entry.pid == getpid()) self = entry.programName == "platform_process_tests";
        if (entry.pid == pid) child = entry.programName == "sleep" && entry.programPath.ends_with("/sleep");
    }
    EXPECT_TRUE(self);
    EXPECT_TRUE(child);
    platform::terminateProcess(pid);
    platform::waitForProcess(pid, -1);
}

// A systemctl that records its arguments and knows one unit.
class ServiceControl : public ::testing::Test {
protected:
    TempFolder folder;
    std::string savedPath = std::getenv("PATH");

    void SetUp() override {
        const std::string script = folder / "systemctl";
        testing_support::writeFile(script, "#!/bin/sh\n"
                                           "echo \"$@\" >> \"" +
                                               folder / "calls" +
                                               "\"\n"
                                               "case \"$*\" in *known*) exit 0 ;; esac\n"
                                               "exit 5\n");
        chmod(script.c_str(), 0755);
        setenv("PATH", (folder.path() + ":" + savedPath).c_str(), 1);
    }
    void TearDown() override { setenv("PATH", savedPath.c_str(), 1); }

    std::string calls() const { return readFile(folder / "calls"); }
};

TEST_F(ServiceControl, ActionsMapToSystemctl) {
    EXPECT_TRUE(platform::openService("known").done);
    EXPECT_TRUE(platform::controlService("known", platform::ServiceAction::Stop).done);
    EXPECT_TRUE(platform::controlService("known", platform::ServiceAction::StartAutomatically).done);
    EXPECT_TRUE(platform::controlService("known", platform::ServiceAction::Disable).done);
    EXPECT_EQ(calls(), "cat --quiet known\nstop --quiet known\nunmask --quiet known\nenable --quiet known\n"
                       "mask --quiet known\n");
}

TEST_F(ServiceControl, WhatCannotBeDoneSaysWhy) {
    const platform::ServiceOutcome unknown = platform::openService("other");
    EXPECT_FALSE(unknown.done);
    EXPECT_NE(unknown.reason.find("inconnu"), std::string::npos);
    const platform::ServiceOutcome failed = platform::controlService("other", platform::ServiceAction::Start);
    EXPECT_FALSE(failed.done);
    EXPECT_NE(failed.reason.find("code 5"), std::string::npos);
    EXPECT_FALSE(platform::controlService("known", platform::ServiceAction::Delete).done);
    EXPECT_FALSE(platform::controlService("known", platform::ServiceAction::Continue).done);

    setenv("PATH", folder.path().c_str(), 1);
    std::filesystem::remove(folder / "systemctl");
    EXPECT_NE(platform::openService("known").reason.find("absent"), std::string::npos);
}

} // namespace
