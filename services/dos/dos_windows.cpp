// Finding windows, bringing them to the front, typing into them, and a sleep that keeps messages moving.
#include "services/dos/dos.h"

#include "platform/base/ascii.h"
#include "platform/ui/keyboard.h"
#include "platform/windows/message_bus.h"

#include <chrono>
#include <cstring>
#include <string_view>

namespace {

using platform::Hwnd;

constexpr std::size_t kTitleRead = 199;
constexpr int kFocusWaitMs = 1000;
constexpr int kForegroundTries = 10;

// The next character of a typed text: "0x" and two hexadecimal digits stand for one character.
unsigned char nextCharacter(std::string_view& text) {
    if (text.size() >= 4 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
        platform::hexDigit(text[2]) >= 0 && platform::hexDigit(text[3]) >= 0) {
        const int code = platform::hexDigit(text[2]) * 16 + platform::hexDigit(text[3]);
        text.remove_prefix(4);
        return static_cast<unsigned char>(code);
    }
    const auto c = static_cast<unsigned char>(text.front());
    text.remove_prefix(1);
    return c;
}

// The control of `target`'s thread that has the focus, waiting for one at most a second; else the target.
Hwnd focusedControl(Hwnd target) {
    const std::optional<platform::WindowOwner> owner = platform::window_table::ownerOf(target);
    if (!owner) return target;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kFocusWaitMs);
    for (;;) {
        if (const Hwnd focus = platform::window_table::focusOf(*owner)) return focus;
        if (std::chrono::steady_clock::now() >= deadline) return target;
        platform::pumpMessages(10);
    }
}

} // namespace

std::uint64_t DOS::GetMainThreadWindow(int threadId) {
    for (Hwnd window : platform::window_table::topLevelWindows()) {
        const std::optional<platform::WindowOwner> owner = platform::window_table::ownerOf(window);
        if (owner && owner->thread == threadId) return window;
    }
    return 0;
}

std::uint64_t DOS::FindWindowA(const char* titleStart) {
    if (!titleStart) return 0;
    const std::string_view wanted(titleStart);
    for (Hwnd window : platform::window_table::topLevelWindows()) {
        const std::string title = platform::window_table::text(window).substr(0, kTitleRead);
        if (title.size() >= wanted.size() &&
            platform::sameNoCase(std::string_view(title).substr(0, wanted.size()), wanted))
            return window;
    }
    return 0;
}

int DOS::clav_write(const char* text, std::uint64_t target) {
    if (!text || !*text) return 0;
    const Hwnd remembered = platform::window_table::foreground();
    if (target)
        MyForegroundWindow(target);
    else
        target = remembered;
    if (!target) return 0;
    const Hwnd control = focusedControl(target);
    for (std::string_view rest(text); !rest.empty();) {
        const unsigned char c = nextCharacter(rest);
        const std::int64_t keyData = (static_cast<std::int64_t>(platform::scanCodeOf(c)) << 16) + 1;
        platform::postMessage(control, platform::WM_CHAR, c, keyData);
    }
    if (remembered && remembered != target) MyForegroundWindow(remembered);
    return static_cast<int>(std::strlen(text));
}

int MyForegroundWindow(std::uint64_t window) {
    const Hwnd popup = platform::window_table::lastActivePopup(window);
    if (!popup) return 0;
    for (int attempt = 0; attempt < kForegroundTries; ++attempt) {
        if (platform::setForegroundWindow(popup) && platform::window_table::foreground() == popup) return 1;
        platform::pumpMessages(10);
    }
    return 0;
}

void SLEEP(int milliseconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    const auto interrupts = [](const platform::Message& message) {
        return message.id == platform::WM_CHAR && (message.wParam == 3 || message.wParam == 27);
    };
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        if (platform::pumpMessages(static_cast<int>(left.count()), interrupts) < 0) return;
    }
}
