// Windows command lines split as the Windows C run-time splits them.
#include "platform/system/command_line.h"

#include <gtest/gtest.h>

namespace {

using platform::splitCommandLine;
using Items = std::vector<std::string>;

TEST(CommandLine, ProgramIsTakenWithoutEscapes) {
    EXPECT_EQ(splitCommandLine("\"C:\\Program Files\\ed.exe\" a"), (Items{"C:\\Program Files\\ed.exe", "a"}));
    EXPECT_EQ(splitCommandLine("C:\\dir\\x.exe"), (Items{"C:\\dir\\x.exe"}));
    EXPECT_EQ(splitCommandLine("   \t "), Items{});
    EXPECT_EQ(splitCommandLine("\"unterminated program"), (Items{"unterminated program"}));
}

TEST(CommandLine, ArgumentsFollowTheBackslashAndQuoteRules) {
    EXPECT_EQ(splitCommandLine("p \"a b\" c"), (Items{"p", "a b", "c"}));
    EXPECT_EQ(splitCommandLine("p a\\\\\\\"b"), (Items{"p", "a\\\"b"}));    // 3 backslashes and a quote
    EXPECT_EQ(splitCommandLine("p \"a\\\\\" b"), (Items{"p", "a\\", "b"})); // 2 backslashes close the quote
    EXPECT_EQ(splitCommandLine("p a\\b\\"), (Items{"p", "a\\b\\"}));        // plain backslashes stay
    EXPECT_EQ(splitCommandLine("p \"say \"\"hi\"\"\""), (Items{"p", "say \"hi\""}));
    EXPECT_EQ(splitCommandLine("p \"\" x"), (Items{"p", "", "x"}));
}

} // namespace
