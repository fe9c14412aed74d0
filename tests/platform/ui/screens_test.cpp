#include "platform/ui/screens.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace platform;

class Screens : public ::testing::Test {
protected:
    void TearDown() override {
        unsetenv("ZORTA_MONITORS");
        resetScreens();
    }
    void use(const char* list) {
        setenv("ZORTA_MONITORS", list, 1);
        resetScreens();
    }
};

TEST_F(Screens, DefaultIsOneFullHdScreen) {
    unsetenv("ZORTA_MONITORS");
    resetScreens();
    ASSERT_EQ(monitors().size(), 1u);
    EXPECT_EQ(systemMetric(SM_CXVIRTUALSCREEN), 1920);
    EXPECT_EQ(systemMetric(SM_CYVIRTUALSCREEN), 1080);
    EXPECT_EQ(systemMetric(SM_XVIRTUALSCREEN), 0);
    EXPECT_EQ(systemMetric(SM_CMONITORS), 1);
}

TEST_F(Screens, VirtualScreenHoldsEveryMonitor) {
    use("1920x1080+0+0;1280x1024-1280-100");
    ASSERT_EQ(monitors().size(), 2u);
    EXPECT_EQ(monitors()[1].left, -1280);
    EXPECT_EQ(systemMetric(SM_XVIRTUALSCREEN), -1280);
    EXPECT_EQ(systemMetric(SM_YVIRTUALSCREEN), -100);
    EXPECT_EQ(systemMetric(SM_CXVIRTUALSCREEN), 3200);
    EXPECT_EQ(systemMetric(SM_CYVIRTUALSCREEN), 1180);
    EXPECT_EQ(systemMetric(SM_CXSCREEN), 1920); // the primary monitor
    EXPECT_EQ(systemMetric(12345), 0);
}

TEST_F(Screens, InvalidItemsAreLeftOutAndReported) {
    testing::internal::CaptureStderr();
    use("800x600+0+0;junk;0x10+0+0;1024x768+800");
    EXPECT_EQ(monitors().size(), 1u);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("'junk'"), std::string::npos);
    EXPECT_NE(report.find("'1024x768+800'"), std::string::npos);
}

TEST_F(Screens, NothingValidFallsBackToTheDefault) {
    testing::internal::CaptureStderr();
    use("x");
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(systemMetric(SM_CXVIRTUALSCREEN), 1920);
}

TEST_F(Screens, CursorStaysInsideTheVirtualScreen) {
    use("100x50+0+0");
    EXPECT_TRUE(setCursorPos(10, 20));
    EXPECT_EQ(cursorPos(), std::make_pair(10, 20));
    setCursorPos(500, -3);
    EXPECT_EQ(cursorPos(), std::make_pair(99, 0));
}

} // namespace
