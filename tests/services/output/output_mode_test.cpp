#include "services/output/output_mode.h"

#include "services/output/output.h"
#include "services/startup/debug_infos.h"
#include "services/str/counted_string.h"
#include "tests/services/recording_screens.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using testing_support::RecordingScreens;

class OutputMode : public ::testing::Test {
protected:
    void TearDown() override {
        services::resetOutputMode();
        mprintEnabled = 1;
    }
    RecordingScreens screens;
};

TEST_F(OutputMode, DigitsSetPrintingAndAreStored) {
    mprintEnabled = 0;
    char digits[] = "100";
    EXPECT_EQ(i_mode(digits), 1);
    EXPECT_EQ(mprintEnabled, 1);
    EXPECT_EQ(Mode[0], 1);
    EXPECT_EQ(Mode[1], 0);
    EXPECT_EQ(Mode[2], 0);
    EXPECT_EQ(i_mode(nullptr), 0);
}

TEST_F(OutputMode, ScreenDigitsAskForTheScreensAndTitleANewLocalOne) {
    char digits[] = "6";
    EXPECT_EQ(i_mode(digits), 1);
    EXPECT_TRUE(screens.global.open);
    EXPECT_TRUE(screens.local.open);
    EXPECT_EQ(screens.local.title, "Ecran Texte (services_output_mode_tests)");
    screens.local.title.clear();
    i_mode(digits); // the local screen was known already: no new title
    EXPECT_EQ(screens.local.title, "");
}

TEST_F(OutputMode, CountedStringModeGivesTheStoredSize) {
    alignas(4) char counted[16] = {};
    const std::uint32_t size = 7;
    std::memcpy(counted, &size, 4);
    std::strcpy(counted + 4, "abc");
    EXPECT_EQ(s_len(counted + 4), 3u);
    char on[] = "001";
    i_mode(on);
    EXPECT_TRUE(services::countedStringMode());
    EXPECT_EQ(s_len(counted + 4), 7u);
    EXPECT_EQ(s_len(nullptr), 0u);
}

TEST(DebugInfos, ListTheTraceBitsAndEndWithAnEmptyText) {
    int count = 0;
    while (g_DebugInfos[count][0])
        ++count;
    EXPECT_EQ(count, 13);
    EXPECT_STREQ(g_DebugInfos[3], "+8 >> Infos Momentan\xe9"
                                  "e de recherche d'erreure");
    EXPECT_STREQ(g_DebugInfos[12], "+0x2000 >> Palette et commande D\xe9tail");
}

} // namespace
