#include "platform/ui/screens.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

namespace {

struct ScreenState {
    std::vector<ScreenRect> monitors;
    std::pair<int, int> cursor{0, 0};
};

std::mutex stateLock;
ScreenState* state = nullptr; // immortal: metrics are read from static destructors too

std::optional<int> takeNumber(std::string_view& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

// A signed offset written "+N" or "-N".
std::optional<int> takeOffset(std::string_view& text) {
    if (text.empty() || (text[0] != '+' && text[0] != '-')) return std::nullopt;
    const bool negative = text[0] == '-';
    text.remove_prefix(1);
    const std::optional<int> value = takeNumber(text);
    return value && *value >= 0 ? std::optional<int>(negative ? -*value : *value) : std::nullopt;
}

std::optional<ScreenRect> parseMonitor(std::string_view item) {
    const std::optional<int> width = takeNumber(item);
    if (!width || item.empty() || item[0] != 'x') return std::nullopt;
    item.remove_prefix(1);
    const std::optional<int> height = takeNumber(item);
    const std::optional<int> left = takeOffset(item);
    const std::optional<int> top = takeOffset(item);
    if (!height || !left || !top || !item.empty() || *width <= 0 || *height <= 0) return std::nullopt;
    return ScreenRect{*left, *top, *left + *width, *top + *height};
}

std::vector<ScreenRect> readMonitors() {
    std::vector<ScreenRect> found;
    if (const char* value = std::getenv("ZORTA_MONITORS")) {
        std::string_view list(value);
        while (!list.empty()) {
            const std::size_t end = std::min(list.find(';'), list.size());
            const std::string_view item = list.substr(0, end);
            if (const std::optional<ScreenRect> monitor = parseMonitor(item))
                found.push_back(*monitor);
            else if (!item.empty())
                std::fprintf(stderr, "ZORTA_MONITORS: '%.*s' is not WIDTHxHEIGHT+LEFT+TOP, left out\n",
                             static_cast<int>(item.size()), item.data());
            list.remove_prefix(std::min(end + 1, list.size()));
        }
    }
    if (found.empty()) found.push_back({0, 0, 1920, 1080});
    return found;
}

ScreenState& screenState() {
    if (!state) state = new ScreenState{readMonitors()};
    return *state;
}

ScreenRect boundsOf(const std::vector<ScreenRect>& screens) {
    ScreenRect bounds = screens.front();
    for (const ScreenRect& screen : screens) {
        bounds.left = std::min(bounds.left, screen.left);
        bounds.top = std::min(bounds.top, screen.top);
        bounds.right = std::max(bounds.right, screen.right);
        bounds.bottom = std::max(bounds.bottom, screen.bottom);
    }
    return bounds;
}

} // namespace

std::vector<ScreenRect> monitors() {
    std::lock_guard lock(stateLock);
    return screenState().monitors;
}

ScreenRect virtualScreen() {
    std::lock_guard lock(stateLock);
    return boundsOf(screenState().monitors);
}

int systemMetric(int index) {
    std::lock_guard lock(stateLock);
    const std::vector<ScreenRect>& screens = screenState().monitors;
    const ScreenRect bounds = boundsOf(screens);
    switch (index) {
    case SM_CXSCREEN:
        return screens.front().width();
    case SM_CYSCREEN:
        return screens.front().height();
    case SM_XVIRTUALSCREEN:
        return bounds.left;
    case SM_YVIRTUALSCREEN:
        return bounds.top;
    case SM_CXVIRTUALSCREEN:
        return bounds.width();
    case SM_CYVIRTUALSCREEN:
        return bounds.height();
    case SM_CMONITORS:
        return static_cast<int>(screens.size());
    default:
        return 0;
    }
}

bool setCursorPos(int x, int y) {
    std::lock_guard lock(stateLock);
    const ScreenRect bounds = boundsOf(screenState().monitors);
    screenState().cursor = {std::clamp(x, bounds.left, bounds.right - 1),
                            std::clamp(y, bounds.top, bounds.bottom - 1)};
    return true;
}

std::pair<int, int> cursorPos() {
    std::lock_guard lock(stateLock);
    return screenState().cursor;
}

void resetScreens() {
    std::lock_guard lock(stateLock);
    delete state;
    state = nullptr;
}

} // namespace platform
