#include "services/dos/monitors.h"

#include "platform/ui/screens.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

CMonitors g_Monitors __attribute__((init_priority(1002)));

namespace {

// Distances from this far on do not choose a monitor.
constexpr long long kFarAway = 65536;

constexpr RECT kUnreadableWorkArea{0, 0, 600, 600};

// A monitor's handle: its place in the platform's list, plus 1 so that no handle is null.
std::uint64_t handleOf(size_t index) {
    return index + 1;
}

long long distanceTo(const RECT& area, long long x, long long y) {
    const long long dx = x < area.left ? area.left - x : x > area.right ? x - area.right : 0;
    const long long dy = y < area.top ? area.top - y : y > area.bottom ? y - area.bottom : 0;
    return dx + dy;
}

} // namespace

CMonitors::CMonitors() : count(0), handle{}, rect{} {
    Update();
}

int CMonitors::Update() {
    count = 0;
    const std::vector<platform::ScreenRect> screens = platform::monitors();
    for (size_t i = 0; i < screens.size() && count < kMaxMonitors; ++i) {
        handle[count] = handleOf(i);
        rect[count] = RECT{screens[i].left, screens[i].top, screens[i].right, screens[i].bottom};
        ++count;
    }
    return count;
}

int CMonitors::usableCount() {
    if (count <= 0) Update();
    return std::clamp(count, 0, kMaxMonitors);
}

int CMonitors::GetBestMonitor(CPoint point, int* inside) {
    const int monitors = usableCount();
    if (inside) *inside = monitors > 0 ? 1 : 0;
    if (monitors <= 1) return 0;
    int best = 0;
    long long bestDistance = kFarAway;
    for (int i = 0; i < monitors; ++i) {
        const long long distance = distanceTo(rect[i], point.x, point.y);
        if (distance == 0) return i;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    if (inside) *inside = 0;
    return best;
}

int CMonitors::GetBestMonitor(const RECT* area, int* inside) {
    if (!area) return 0;
    const long long x = (static_cast<long long>(area->left) + area->right) / 2;
    const long long y = (static_cast<long long>(area->top) + area->bottom) / 2;
    return GetBestMonitor(CPoint{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)}, inside);
}

// There are no task bars here: a monitor's work area is the whole monitor.
RECT CMonitors::GetWorkArea(int index) {
    const int monitors = usableCount();
    if (monitors == 0) return kUnreadableWorkArea;
    const int chosen = ((index % monitors) + monitors) % monitors;
    const std::vector<platform::ScreenRect> screens = platform::monitors();
    const std::uint64_t wanted = handle[chosen];
    if (wanted == 0 || wanted > screens.size()) return kUnreadableWorkArea;
    const platform::ScreenRect& screen = screens[wanted - 1];
    return RECT{screen.left, screen.top, screen.right, screen.bottom};
}
