#pragma once
// Display monitors, screen metrics and the cursor (EnumDisplayMonitors, GetSystemMetrics, SetCursorPos).
//
// There is no display here. The monitors come from the environment variable ZORTA_MONITORS, a list of
// "WIDTHxHEIGHT+LEFT+TOP" items separated by ";" (LEFT and TOP may be negative: "1280x1024-1280+0"; the first
// monitor is the primary one), read once per process; without it, or when no item of it is valid, there is
// one 1920x1080 screen at (0, 0). Invalid items are left out and reported once on standard error. The cursor
// is a logical one, kept per process and held inside the virtual screen.
#include <utility>
#include <vector>

namespace platform {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// System metric indexes, with their Windows values.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_XVIRTUALSCREEN = 76;
constexpr int SM_YVIRTUALSCREEN = 77;
constexpr int SM_CXVIRTUALSCREEN = 78;
constexpr int SM_CYVIRTUALSCREEN = 79;
constexpr int SM_CMONITORS = 80;

std::vector<ScreenRect> monitors();

// The rectangle that holds every monitor.
ScreenRect virtualScreen();

// The metric `index`, 0 for an index not listed above.
int systemMetric(int index);

// Moves the cursor, held inside the virtual screen; true.
bool setCursorPos(int x, int y);
std::pair<int, int> cursorPos();

// Reads the environment again and puts the cursor at (0, 0) (tests).
void resetScreens();

} // namespace platform
