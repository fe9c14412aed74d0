#include "platform/ipc/named_mutex.h"

#include "tests/platform/child_process.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;
using platform::LockResult;
using platform::NamedMutex;
using testing_support::ChildProcess;

TEST(NamedMutex, IsRecursiveForItsHolder) {
    NamedMutex mutex("mutex.recursive");
    ASSERT_TRUE(mutex.isOpen()) << mutex.error();
    EXPECT_EQ(mutex.wait(), LockResult::Acquired);
    EXPECT_EQ(mutex.wait(), LockResult::Acquired);
    mutex.release();
    mutex.release();
}

TEST(NamedMutex, OtherProcessWaitsUntilRelease) {
    NamedMutex mutex("mutex.other");
    ASSERT_EQ(mutex.wait(), LockResult::Acquired);
    ChildProcess busy([] {
        NamedMutex theirs("mutex.other");
        return theirs.wait(100ms) == LockResult::TimedOut ? 0 : 1;
    });
    EXPECT_EQ(busy.wait(), 0);
    mutex.release();
    ChildProcess free([] {
        NamedMutex theirs("mutex.other");
        const bool got = theirs.wait(5s) == LockResult::Acquired;
        theirs.release();
        return got ? 0 : 1;
    });
    EXPECT_EQ(free.wait(), 0);
}

TEST(NamedMutex, HolderKilledLeavesItAbandonedNotBlocked) {
    NamedMutex mutex("mutex.abandoned"); // open throughout, as in every process of the library
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    ChildProcess holder([&] {
        NamedMutex theirs("mutex.abandoned");
        theirs.wait();
        const char held = 'h';
        [[maybe_unused]] auto written = write(ready[1], &held, 1);
        pause();
        return 0;
    });
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    holder.kill(SIGKILL);
    close(ready[0]);
    close(ready[1]);

    EXPECT_EQ(mutex.wait(5s), LockResult::Abandoned);
    mutex.release();
    EXPECT_EQ(mutex.wait(5s), LockResult::Acquired); // consistent again
    mutex.release();
}

} // namespace
