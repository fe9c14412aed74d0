// The monitor list: at most five recorded, the best monitor for a point, work areas by index.
#include "services/dos/monitors.h"

#include "platform/ui/screens.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class Monitors : public ::testing::Test {
protected:
    void use(const char* list) {
        setenv("ZORTA_MONITORS", list, 1);
        platform::resetScreens();
    }
    void TearDown() override {
        unsetenv("ZORTA_MONITORS");
        platform::resetScreens();
    }
};

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(Monitors, AtMostFiveAreRecorded) {
    use("100x100+0+0;100x100+100+0;100x100+200+0;100x100+300+0;100x100+400+0;100x100+500+0");
    CMonitors monitors;
    EXPECT_EQ(monitors.count, 5);
    EXPECT_EQ(monitors.Update(), 5);
    EXPECT_TRUE(monitors.rect[4] == (RECT{400, 0, 500, 100}));
}

TEST_F(Monitors, WorkAreaIndexesWrapAround) {
    use("1920x1080+0+0;1280x1024-1280+0");
    CMonitors monitors;
    EXPECT_TRUE(monitors.GetWorkArea(7) == (RECT{-1280, 0, 0, 1024}));
    EXPECT_TRUE(monitors.GetWorkArea(-1) == (RECT{-1280, 0, 0, 1024}));
    EXPECT_TRUE(monitors.GetWorkArea(0) == (RECT{0, 0, 1920, 1080}));
}

TEST_F(Monitors, AnEmptyOrDamagedListIsFilledBeforeUse) {
    use("1920x1080+0+0;1280x1024-1280+0");
    CMonitors monitors;
    monitors.count = 0;
    EXPECT_TRUE(monitors.GetWorkArea(3) == (RECT{-1280, 0, 0, 1024}));
    EXPECT_EQ(monitors.count, 2);
    monitors.count = 0;
    EXPECT_EQ(monitors.GetBestMonitor(CPoint{-5, 5}), 1);
    monitors.count = 9; // written by another program
    EXPECT_EQ(monitors.GetBestMonitor(CPoint{5, 5}), 0);
    // Monitors that disappeared since the list was read cannot be read.
    use("800x600+0+0");
    EXPECT_TRUE(monitors.GetWorkArea(1) == (RECT{0, 0, 600, 600}));
}

TEST_F(Monitors, BestMonitorForPointsAndRectangles) {
    use("1920x1080+0+0;1280x1024+1920+0");
    CMonitors monitors;
    int inside = -1;
    EXPECT_EQ(monitors.GetBestMonitor(CPoint{1920, 10}, &inside), 0); // the right edge counts as inside
    EXPECT_EQ(inside, 1);
    EXPECT_EQ(monitors.GetBestMonitor(CPoint{2000, 1050}, &inside), 1);
    EXPECT_EQ(inside, 0);
    EXPECT_EQ(monitors.GetBestMonitor(CPoint{100000, 0}, &inside), 0); // too far from every monitor
    const RECT window{1900, 0, 2100, 100};
    EXPECT_EQ(monitors.GetBestMonitor(&window, &inside), 1);
    EXPECT_EQ(monitors.GetBestMonitor(static_cast<const RECT*>(nullptr), &inside), 0);

    use("800x600+0+0");
    monitors.Update();
    EXPECT_EQ(monitors.GetBestMonitor(CPoint{5000, 5000}, &inside), 0);
    EXPECT_EQ(inside, 1);
}

} // namespace
