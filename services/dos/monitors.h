#pragma once
// The display monitors and their work areas: the list `g_Monitors` that the editor program reads directly,
// a fixed 124-byte record shared by every build.
#include <cstddef>
#include <cstdint>

struct RECT {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

struct CPoint {
    std::int32_t x;
    std::int32_t y;
};

class __attribute__((packed)) CMonitors {
public:
    static constexpr int kMaxMonitors = 5;

    // Fills the list.
    CMonitors();

    // Enumerates the monitors again (the first five are recorded); the count.
    int Update();

    // The monitor that holds the point, or the nearest one (*inside then 0); the first on a tie, monitor 0
    // when all are 65,536 pixels away or more. With one monitor: 0, inside.
    int GetBestMonitor(CPoint point, int* inside = nullptr);
    // The same for the rectangle's centre; 0 for a null rectangle.
    int GetBestMonitor(const RECT* rect, int* inside = nullptr);

    // The work area of monitor (index modulo the count); (0, 0, 600, 600) when it cannot be read.
    RECT GetWorkArea(int index);

    std::int32_t count;                 // 0 to 5
    std::uint64_t handle[kMaxMonitors]; // right after the count
    RECT rect[kMaxMonitors];            // in virtual-screen pixels

private:
    // The count to work with: the list is filled when it is empty, and a count out of range (a record written
    // by another program) is held to the list's size.
    int usableCount();
};

static_assert(sizeof(CMonitors) == 124);
static_assert(offsetof(CMonitors, count) == 0);
static_assert(offsetof(CMonitors, handle) == 4);
static_assert(offsetof(CMonitors, rect) == 44);

// The monitors of this process, filled when the library loads.
extern CMonitors g_Monitors;
