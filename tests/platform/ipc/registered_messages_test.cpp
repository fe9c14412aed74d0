#include "platform/ipc/registered_messages.h"

#include "tests/platform/child_process.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

namespace {

using platform::registerWindowMessage;
using testing_support::ChildProcess;

TEST(RegisteredMessages, SameNameSameIdWithoutCase) {
    const std::uint32_t id = registerWindowMessage("WM_TEST_ONE");
    EXPECT_GE(id, 0xC000u);
    EXPECT_LE(id, 0xFFFFu);
    EXPECT_EQ(registerWindowMessage("wm_test_one"), id);
    EXPECT_NE(registerWindowMessage("WM_TEST_TWO"), id);
}

TEST(RegisteredMessages, BadNamesGiveZero) {
    EXPECT_EQ(registerWindowMessage(nullptr), 0u);
    EXPECT_EQ(registerWindowMessage(""), 0u);
    EXPECT_EQ(registerWindowMessage(std::string(256, 'n').c_str()), 0u);
    EXPECT_NE(registerWindowMessage(std::string(255, 'n').c_str()), 0u);
}

TEST(RegisteredMessages, AnotherProcessGetsTheSameIds) {
    const std::uint32_t first = registerWindowMessage("WM_SHARED_A");
    int ids[2];
    ASSERT_EQ(pipe(ids), 0);
    ChildProcess child([&] {
        platform::closeWindowMessageTable(); // map the table afresh, as a new process does
        const std::uint32_t found[2] = {registerWindowMessage("WM_SHARED_B"),
                                        registerWindowMessage("WM_SHARED_A")};
        return write(ids[1], found, sizeof found) == sizeof found ? 0 : 1;
    });
    ASSERT_EQ(child.wait(), 0);
    std::uint32_t found[2] = {};
    ASSERT_EQ(read(ids[0], found, sizeof found), static_cast<ssize_t>(sizeof found));
    close(ids[0]);
    close(ids[1]);
    EXPECT_EQ(found[1], first);
    EXPECT_EQ(registerWindowMessage("WM_SHARED_B"), found[0]);
}

} // namespace
