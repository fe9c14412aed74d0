#pragma once
// The main window's placement kept across runs as "WindowPos": "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d" (flags, show
// command, minimised x and y, maximised x and y, normal rectangle left, top, right, bottom).
#include "services/dos/monitors.h"

#include <optional>
#include <string>
#include <string_view>

struct WindowPlacement {
    static constexpr unsigned kRestoreToMaximized = 2; // the only flag kept
    static constexpr long long kMinimumOverlap = 4800; // square pixels on the monitors' work areas

    unsigned flags = 0;
    unsigned showCommand = 1;
    CPoint minimized{-1, -1};
    CPoint maximized{-1, -1};
    RECT normal{0, 0, 0, 0};
};

// Exactly 10 comma-separated numbers, or nothing.
std::optional<WindowPlacement> parsePlacement(std::string_view text);
std::string formatPlacement(const WindowPlacement& placement);
// The overlap in square pixels of the rectangle with the work areas of the monitors, summed.
long long overlapWithWorkAreas(const RECT& rect, CMonitors& monitors);
// The saved placement to apply, when it is sound and stands on the monitors.
std::optional<WindowPlacement> usablePlacement(std::string_view saved, CMonitors& monitors);
// The show command to start with: the saved one when the requested one is the normal show.
int startShowCommand(int requested, const WindowPlacement& saved);
