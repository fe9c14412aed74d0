#include "services/output/log_file.h"

#include "services/output/output.h"
#include "services/output/progress_meter.h"
#include "tests/services/recording_screens.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class LogFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("zorta_logs_" + std::to_string(getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        CloseLF();
        fs::remove_all(folder);
    }
    std::string name(const char* file) const { return (folder / file).string(); }
    std::string contents(const char* file) const {
        std::ifstream in(folder / file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path folder;
    testing_support::RecordingScreens screens;
};

TEST_F(LogFiles, NameTakesTheLogExtensionAndOpensForAppending) {
    ASSERT_NE(OpenLF(name("task.txt").c_str()), nullptr);
    mprintLF("one\n", 0);
    ASSERT_NE(OpenLF(name("task").c_str()), nullptr); // replaces (and closes) the first: the same file
    mprintLF("two\n", 0);
    CloseLF();
    EXPECT_EQ(g_FileLF, nullptr);
    EXPECT_EQ(contents("task.Log"), "one\ntwo\n");
    EXPECT_TRUE(fs::exists(folder / "task.Log"));
}

TEST_F(LogFiles, BadNamesOpenNothing) {
    EXPECT_EQ(OpenLF(nullptr), nullptr);
    EXPECT_EQ(OpenLF(""), nullptr);
    EXPECT_EQ(OpenLF(name("missing/sub/task.txt").c_str()), nullptr);
    EXPECT_EQ(g_FileLF, nullptr);
    EXPECT_EQ(mprintfLF("still %s", "fine"), 0); // no log and nothing to show
}

TEST_F(LogFiles, LoggedTextKeepsItsPrefixesAndIsAlsoRouted) {
    OpenLF(name("route").c_str());
    EXPECT_EQ(mprintLF("$L$abcdef", 6), 1);
    EXPECT_EQ(mprintfLF("$L$n=%d", 4), 1);
    EXPECT_EQ(mprintLF(nullptr, 0), 0);
    CloseLF();
    EXPECT_EQ(contents("route.Log"), "$L$abc$L$n=4");
    EXPECT_EQ(screens.local.printed, "abcn=4");
}

TEST_F(LogFiles, FormattedTextGoesToTheLogEvenWithoutAScreen) {
    OpenLF(name("quiet").c_str());
    EXPECT_EQ(mprintfLF("hidden %d", 1), 1);
    CloseLF();
    EXPECT_EQ(contents("quiet.Log"), "hidden 1");
    EXPECT_EQ(screens.global.printed + screens.local.printed, "");
}

TEST_F(LogFiles, NestedScopesWriteToTheInnerFileThenTheOuterAgain) {
    {
        CPrintToLogFile outer(name("outer").c_str());
        mprintfLF("a");
        {
            CPrintToLogFile inner(name("inner").c_str());
            mprintfLF("b");
        }
        mprintfLF("c");
    }
    EXPECT_EQ(g_FileLF, nullptr);
    EXPECT_EQ(contents("outer.Log"), "ac");
    EXPECT_EQ(contents("inner.Log"), "b");
}

TEST_F(LogFiles, ScopeThatCannotOpenItsFileStillRestoresTheOuterOne) {
    OpenLF(name("kept").c_str());
    {
        CPrintToLogFile failing(name("missing/x").c_str());
        EXPECT_EQ(g_FileLF, nullptr);
        mprintfLF("lost");
    }
    mprintfLF("kept");
    CloseLF();
    EXPECT_EQ(contents("kept.Log"), "kept");
}

TEST_F(LogFiles, FileOpenedInsideAScopeEndsWithIt) {
    {
        CPrintToLogFile scope(name("scope").c_str());
        OpenLF(name("replacement").c_str()); // closes the scope's own file
        mprintfLF("r");
    }
    EXPECT_EQ(g_FileLF, nullptr);
    EXPECT_EQ(contents("replacement.Log"), "r");
}

TEST(ProgressMeter, DefaultGoesOnAndCopiesKeepTheUserValue) {
    CProgressMeter meter;
    EXPECT_EQ(meter.Progressfunc(7), 7);
    meter.userValue = 42;
    CProgressMeter copy(meter);
    EXPECT_EQ(copy.userValue, 42);

    struct Cancelling : CProgressMeter {
        int Progressfunc(int step) override { return step > 2 ? -1 : step; }
    } cancelling;
    CProgressMeter& asBase = cancelling;
    EXPECT_EQ(asBase.Progressfunc(3), -1);
}

} // namespace
