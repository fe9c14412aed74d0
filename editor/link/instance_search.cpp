#include "editor/link/instance_search.h"

#include <unistd.h>

platform::Hwnd findInstanceByTitle(std::string_view prefix) {
    constexpr std::size_t kTitleRead = 199;
    if (prefix.empty()) return 0;
    for (platform::Hwnd window : platform::window_table::topLevelWindows()) {
        if (platform::processOfHandle(window) == getpid()) continue;
        const std::string title = platform::window_table::text(window).substr(0, kTitleRead);
        if (std::string_view(title).starts_with(prefix)) return window;
    }
    return 0;
}
