#include "platform/ipc/shared_segment.h"

#include "tests/platform/child_process.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

using platform::SharedSegment;
using testing_support::ChildProcess;

bool segmentExists(const std::string& name) {
    const int fd = shm_open(platform::segmentObjectName(name).c_str(), O_RDONLY, 0);
    if (fd >= 0) close(fd);
    return fd >= 0;
}

TEST(SharedSegment, CreatorZeroFillsAndInitialisesLaterOpenersShare) {
    int initialised = 0;
    SharedSegment first("segment.share", 64, [&](void* data) {
        ++initialised;
        static_cast<char*>(data)[0] = 'I';
    });
    ASSERT_TRUE(first.isOpen()) << first.error();
    EXPECT_TRUE(first.created());
    EXPECT_EQ(initialised, 1);
    EXPECT_EQ(static_cast<char*>(first.data())[1], 0);
    std::strcpy(static_cast<char*>(first.data()) + 1, "shared");

    SharedSegment second("segment.share", 64, [&](void*) { ++initialised; });
    ASSERT_TRUE(second.isOpen());
    EXPECT_FALSE(second.created());
    EXPECT_EQ(initialised, 1);
    EXPECT_STREQ(static_cast<char*>(second.data()), "Ishared");
}

TEST(SharedSegment, LastUserRemovesItAndTheNextStartsZeroFilled) {
    {
        SharedSegment only("segment.last", 32);
        static_cast<char*>(only.data())[0] = 'x';
    }
    EXPECT_FALSE(segmentExists("segment.last"));
    SharedSegment again("segment.last", 32);
    EXPECT_TRUE(again.created());
    EXPECT_EQ(static_cast<char*>(again.data())[0], 0);
}

TEST(SharedSegment, AnotherProcessKeepsItAlive) {
    SharedSegment mine("segment.alive", 32);
    static_cast<char*>(mine.data())[0] = 'k';
    ChildProcess child([] {
        SharedSegment theirs("segment.alive", 32);
        const bool shared = !theirs.created() && static_cast<char*>(theirs.data())[0] == 'k';
        static_cast<char*>(theirs.data())[1] = 'c';
        theirs.close(); // not the last user: the segment stays
        return shared ? 0 : 1;
    });
    EXPECT_EQ(child.wait(), 0);
    EXPECT_EQ(static_cast<char*>(mine.data())[1], 'c');
    EXPECT_TRUE(segmentExists("segment.alive"));
}

TEST(SharedSegment, StaleSegmentOfADeadProcessIsMadeAnew) {
    ChildProcess child([] {
        SharedSegment left("segment.stale", 32);
        static_cast<char*>(left.data())[0] = 's';
        _exit(0); // dies without closing, like a crash
        return 0;
    });
    ASSERT_EQ(child.wait(), 0);
    ASSERT_TRUE(segmentExists("segment.stale"));
    SharedSegment fresh("segment.stale", 32);
    EXPECT_TRUE(fresh.created());
    EXPECT_EQ(static_cast<char*>(fresh.data())[0], 0);
}

TEST(SharedSegment, ForkedChildClosingItsCopyLeavesTheParentsSegment) {
    SharedSegment mine("segment.fork", 32);
    ChildProcess child([&] {
        mine.close();
        return 0;
    });
    EXPECT_EQ(child.wait(), 0);
    EXPECT_TRUE(segmentExists("segment.fork"));
    SharedSegment second("segment.fork", 32);
    EXPECT_FALSE(second.created());
}

TEST(SharedSegment, ExistingSegmentSmallerThanAskedIsNotMapped) {
    SharedSegment small("segment.small", 16);
    SharedSegment larger("segment.small", 4096);
    EXPECT_FALSE(larger.isOpen());
    EXPECT_NE(larger.error().find("16 bytes, 4096 expected"), std::string::npos) << larger.error();
    SharedSegment smaller("segment.small", 8); // a prefix of an existing segment is fine
    EXPECT_TRUE(smaller.isOpen());
    EXPECT_TRUE(small.isOpen());
}

TEST(SharedSegment, NamesCarryTheNamespaceAndNoSlash) {
    SharedSegment odd("a/b", 8);
    ASSERT_TRUE(odd.isOpen()) << odd.error();
    EXPECT_TRUE(segmentExists("a_b"));
}

// Joining another user's segment would show that user this user's data, and theirs to this user.
TEST(SharedSegment, ObjectsOfAnotherUserOrWritableByOthersAreRefused) {
    const std::string lock = platform::segmentObjectName("segment.open") + ".lock";
    const int fd = shm_open(lock.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fchmod(fd, 0666), 0);
    close(fd);
    SharedSegment open("segment.open", 8);
    EXPECT_FALSE(open.isOpen());
    EXPECT_NE(open.error().find("others may write it"), std::string::npos) << open.error();
    shm_unlink(lock.c_str());

    if (geteuid() != 0) GTEST_SKIP() << "making a file of another user needs root: not run";
    const std::string users = platform::segmentObjectName("segment.foreign") + ".users";
    ChildProcess other([&] {
        if (setgid(65534) != 0 || setuid(65534) != 0) return 1;
        const int made = shm_open(users.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
        return made >= 0 ? 0 : 2;
    });
    ASSERT_EQ(other.wait(), 0);
    SharedSegment foreign("segment.foreign", 8);
    EXPECT_FALSE(foreign.isOpen());
    EXPECT_NE(foreign.error().find("belongs to user 65534"), std::string::npos) << foreign.error();
    shm_unlink(users.c_str());
    shm_unlink((platform::segmentObjectName("segment.foreign") + ".lock").c_str());
}

TEST(SharedSegment, MovedSegmentStaysOpenOnce) {
    SharedSegment first("segment.move", 8);
    SharedSegment moved = std::move(first);
    EXPECT_FALSE(first.isOpen());
    EXPECT_TRUE(moved.isOpen());
    moved.close();
    moved.close();
    EXPECT_FALSE(segmentExists("segment.move"));
}

} // namespace
