// The window calls that act on the table and tell the owner: showing, the foreground, focus, default
// handling, and waiting for a new process's first window.
#include "platform/windows/message_bus.h"
#include "platform/windows/process_start.h"

#include <chrono>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

WindowOwner callingThread() {
    return {getpid(), static_cast<pid_t>(syscall(SYS_gettid))};
}

} // namespace

std::int64_t defWindowProc(Message& message) {
    switch (message.id) {
    case WM_SETTEXT:
        return window_table::setText(message.window, message.text) ? 1 : 0;
    case WM_GETTEXT: {
        const std::string title = window_table::text(message.window);
        message.text = title.substr(0, message.wParam > 0 ? message.wParam - 1 : 0);
        return static_cast<std::int64_t>(message.text.size());
    }
    case WM_GETTEXTLENGTH:
        return static_cast<std::int64_t>(window_table::text(message.window).size());
    default:
        return 0;
    }
}

bool showWindow(Hwnd window, int command) {
    const bool wasVisible = window_table::style(window) & WS_VISIBLE;
    std::uint32_t set = 0;
    std::uint32_t clear = 0;
    switch (command) {
    case SW_HIDE:
        clear = WS_VISIBLE;
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        set = WS_VISIBLE | WS_MINIMIZE;
        clear = WS_MAXIMIZE;
        break;
    case SW_MAXIMIZE:
        set = WS_VISIBLE | WS_MAXIMIZE;
        clear = WS_MINIMIZE;
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        set = WS_VISIBLE;
        clear = WS_MINIMIZE | WS_MAXIMIZE;
        break;
    default:
        set = WS_VISIBLE;
        break;
    }
    if (!window_table::setStyle(window, set, clear)) return false;
    postMessage(window, WM_SHOWWINDOW, static_cast<std::uint64_t>(command));
    return wasVisible;
}

bool updateWindow(Hwnd window) {
    return window_table::isWindow(window);
}

bool setForegroundWindow(Hwnd window) {
    const std::optional<Hwnd> previous = window_table::setForeground(window);
    if (!previous) return false;
    if (*previous == window) return true;
    if (*previous) postMessage(*previous, WM_ACTIVATE, WA_INACTIVE, static_cast<std::int64_t>(window));
    postMessage(window, WM_ACTIVATE, WA_ACTIVE, static_cast<std::int64_t>(*previous));
    return true;
}

Hwnd getFocus() {
    return window_table::focusOf(callingThread());
}

Hwnd getActiveWindow() {
    return window_table::activeOf(callingThread());
}

int waitForInputIdle(pid_t process, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (window_table::ownsWindow(process)) return 0;
        if (!processStartTime(process)) return -1;
        if (std::chrono::steady_clock::now() >= deadline) return 258;
        pumpMessages(10);
    }
}

} // namespace platform
