#pragma once
// Helpers for tests of the window bus: waiting for a window by title, and a child process that owns one
// window and serves it until it is closed.
#include "platform/windows/message_bus.h"
#include "tests/platform/child_process.h"

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace testing_support {

// The top-level window titled `title`, waiting at most 5 s for it to appear; 0 when it does not.
inline platform::Hwnd waitForWindow(const std::string& title) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        for (platform::Hwnd window : platform::window_table::topLevelWindows())
            if (platform::window_table::text(window) == title) return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return 0;
}

// A child that creates a top-level window titled `title` handled by `procedure` and pumps until WM_CLOSE.
inline ChildProcess windowOwner(const std::string& title, platform::WindowProc procedure) {
    return ChildProcess([title, procedure] {
        bool closed = false;
        const auto window = platform::createWindow({"Probe", title, 0, 0, platform::WS_VISIBLE},
                                                   [&](platform::Message& message) -> std::int64_t {
                                                       if (message.id == platform::WM_CLOSE) closed = true;
                                                       return procedure(message);
                                                   });
        if (!window) return 3;
        while (!closed)
            platform::pumpMessages(100);
        return 0;
    });
}

} // namespace testing_support
