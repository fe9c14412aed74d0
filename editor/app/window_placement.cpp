#include "editor/app/window_placement.h"

#include "editor/app/pad_settings.h"
#include "platform/windows/message_bus.h"

#include <algorithm>
#include <vector>

std::optional<WindowPlacement> parsePlacement(std::string_view text) {
    std::vector<long long> numbers;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::optional<long long> value = parseInteger(text.substr(0, comma));
        if (!value || *value < INT32_MIN || *value > UINT32_MAX) return std::nullopt;
        numbers.push_back(*value);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (numbers.size() != 10) return std::nullopt;
    const auto at = [&](std::size_t i) { return static_cast<std::int32_t>(numbers[i]); };
    WindowPlacement placement;
    placement.flags = static_cast<unsigned>(numbers[0]);
    placement.showCommand = static_cast<unsigned>(numbers[1]);
    placement.minimized = {at(2), at(3)};
    placement.maximized = {at(4), at(5)};
    placement.normal = {at(6), at(7), at(8), at(9)};
    return placement;
}

std::string formatPlacement(const WindowPlacement& p) {
    std::string text;
    for (const long long value :
         {static_cast<long long>(p.flags), static_cast<long long>(p.showCommand),
          static_cast<long long>(p.minimized.x), static_cast<long long>(p.minimized.y),
          static_cast<long long>(p.maximized.x), static_cast<long long>(p.maximized.y),
          static_cast<long long>(p.normal.left), static_cast<long long>(p.normal.top),
          static_cast<long long>(p.normal.right), static_cast<long long>(p.normal.bottom)})
        text += (text.empty() ? "" : ",") + formatInteger(value);
    return text;
}

long long overlapWithWorkAreas(const RECT& rect, CMonitors& monitors) {
    long long total = 0;
    const int count = std::max(monitors.Update(), 1);
    for (int i = 0; i < count; ++i) {
        const RECT area = monitors.GetWorkArea(i);
        const long long width = std::min<long long>(rect.right, area.right) - std::max(rect.left, area.left);
        const long long height = std::min<long long>(rect.bottom, area.bottom) - std::max(rect.top, area.top);
        if (width > 0 && height > 0) total += width * height;
    }
    return total;
}

std::optional<WindowPlacement> usablePlacement(std::string_view saved, CMonitors& monitors) {
    const std::optional<WindowPlacement> placement = parsePlacement(saved);
    if (!placement || overlapWithWorkAreas(placement->normal, monitors) <= WindowPlacement::kMinimumOverlap)
        return std::nullopt;
    return placement;
}

int startShowCommand(int requested, const WindowPlacement& saved) {
    return requested == platform::SW_SHOWNORMAL ? static_cast<int>(saved.showCommand) : requested;
}
