#include "editor/link/my_parse.h"

#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

namespace {

CMyParse parsed(const std::vector<std::string>& arguments) {
    CMyParse parse;
    ParseActions actions;
    parseCommandLine(arguments, parse, actions);
    return parse;
}

TEST(CommandLine, ASlashStartsASwitchUnlessAPathFollows) {
    EXPECT_TRUE(isSwitch("/G"));
    EXPECT_TRUE(isSwitch("/titre=a/b"));
    EXPECT_TRUE(isSwitch("-x/y"));
    EXPECT_FALSE(isSwitch("/home/u/a.txt"));
    EXPECT_FALSE(isSwitch("/home/u=1/a.txt"));
    EXPECT_FALSE(isSwitch("a.txt"));
    EXPECT_FALSE(isSwitch("/"));
    EXPECT_STREQ(parsed({"/home/u/a.txt", "/G"}).fileName, "/home/u/a.txt");
}

TEST(CommandLine, SwitchesFillTheirFieldsCutToSize) {
    const CMyParse parse =
        parsed({"/TITRE=" + std::string(300, 's'), "-Ro=1", "/on=0", "/G", "premier.txt", "second.txt"});
    EXPECT_EQ(std::strlen(parse.titleSuffix), 199u);
    EXPECT_EQ(parse.readOnly, 1);
    EXPECT_EQ(parse.bringToFront, 0);
    EXPECT_EQ(parse.globalScreen, 1);
    EXPECT_STREQ(parse.fileName, "premier.txt");
    EXPECT_EQ(parsed({"/g"}).globalScreen, 0) << "G is exact";
    EXPECT_EQ(parsed({"/Gx"}).globalScreen, 0);
    const CMyParse defaults = parsed({});
    EXPECT_EQ(defaults.bringToFront, 1);
    EXPECT_EQ(defaults.readOnly, 0);
    EXPECT_EQ(defaults.foundWindow, 0u);
}

TEST(CommandLine, StopTakesOnlyAnotherRunningProcessId) {
    EXPECT_EQ(parsed({"/Stop=1234"}).stopProcessId, 1234);
    EXPECT_EQ(parsed({"/stop=1234"}).stopProcessId, 0) << "Stop= is exact";
    for (const std::string& bad : std::vector<std::string>{"-1", "0", "abc", "", std::to_string(getpid())})
        EXPECT_EQ(parsed({"/Stop=" + bad}).stopProcessId, 0) << bad;
}

TEST(CommandLine, AReceivedRecordMustBeWholeAndEndsItsTexts) {
    CMyParse sent;
    std::memset(sent.fileName, 'f', sizeof sent.fileName);
    std::memset(sent.titleSuffix, 't', sizeof sent.titleSuffix);
    std::memset(sent.windowPrefix, 'w', sizeof sent.windowPrefix);
    sent.stopProcessId = 42;
    CMyParse received;
    EXPECT_FALSE(received.assignReceived(&sent, sizeof sent - 1));
    EXPECT_EQ(received.stopProcessId, 0);
    ASSERT_TRUE(received.assignReceived(&sent, sizeof sent));
    EXPECT_EQ(std::strlen(received.fileName), 259u);
    EXPECT_EQ(std::strlen(received.titleSuffix), 199u);
    EXPECT_EQ(std::strlen(received.windowPrefix), 99u);
    EXPECT_EQ(received.stopProcessId, 42);
}

} // namespace
