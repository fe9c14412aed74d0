// zwin: looks at and drives the windows of the bus from a shell, for tests and for people.
//   zwin list                                   every window: handle pid parent class visible title
//   zwin wait PREFIX [MS]                       a top-level window whose title begins with PREFIX
//   zwin text H                                 the window's text (WM_GETTEXT)
//   zwin send|post H MSG [W [L]] [--text T]     a message by number or name; send prints the answer
#include "platform/base/ascii.h"
#include "platform/base/code_page.h"
#include "platform/ipc/registered_messages.h"
#include "platform/windows/message_bus.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace platform;

const std::map<std::string, std::uint32_t> kMessageNames = {
    {"WM_ACTIVATE", WM_ACTIVATE},
    {"WM_SETTEXT", WM_SETTEXT},
    {"WM_GETTEXT", WM_GETTEXT},
    {"WM_GETTEXTLENGTH", WM_GETTEXTLENGTH},
    {"WM_CLOSE", WM_CLOSE},
    {"WM_SETTINGCHANGE", WM_SETTINGCHANGE},
    {"WM_CHAR", WM_CHAR},
    {"WM_COMMAND", WM_COMMAND},
    {"WM_MDIACTIVATE", WM_MDIACTIVATE},
    {"WM_CLEAR", WM_CLEAR},
    {"EM_GETSEL", EM_GETSEL},
    {"EM_SETSEL", EM_SETSEL},
    {"EM_GETLINECOUNT", EM_GETLINECOUNT},
    {"EM_LINEINDEX", EM_LINEINDEX},
    {"EM_REPLACESEL", EM_REPLACESEL},
    {"EM_SETREADONLY", EM_SETREADONLY},
};

// A number in decimal, or in hexadecimal after "0x"; negative decimals too.
std::optional<std::int64_t> number(std::string_view text) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    std::uint64_t unsignedValue = 0;
    const char* end = text.data() + text.size();
    if (base == 16) {
        if (std::from_chars(text.data(), end, unsignedValue, 16).ptr != end) return std::nullopt;
        return static_cast<std::int64_t>(unsignedValue);
    }
    if (std::from_chars(text.data(), end, value, 10).ptr != end) return std::nullopt;
    return value;
}

std::optional<std::uint32_t> messageId(const std::string& name) {
    if (const auto value = number(name)) return static_cast<std::uint32_t>(*value);
    std::string upper = name;
    for (char& c : upper)
        c = asciiUpper(c);
    if (const auto known = kMessageNames.find(upper); known != kMessageNames.end()) return known->second;
    const std::uint32_t registered = registerWindowMessage(name.c_str());
    return registered ? std::optional<std::uint32_t>(registered) : std::nullopt;
}

int usage() {
    std::fputs("usage: zwin list | wait PREFIX [MS] | text H | send|post H MSG [W [L]] [--text T]\n", stderr);
    return 2;
}

int list() {
    std::vector<Hwnd> windows = window_table::topLevelWindows();
    for (std::size_t i = 0, top = windows.size(); i < top; ++i)
        for (Hwnd child : window_table::descendants(windows[i]))
            windows.push_back(child);
    for (Hwnd window : windows) {
        const std::optional<WindowOwner> owner = window_table::ownerOf(window);
        if (!owner) continue;
        std::printf("0x%llx\t%d\t0x%llx\t%s\t%d\t%s\n", static_cast<unsigned long long>(window),
                    owner->process, static_cast<unsigned long long>(window_table::parent(window)),
                    cp1252ToUtf8(window_table::className(window)).c_str(),
                    (window_table::style(window) & WS_VISIBLE) ? 1 : 0,
                    cp1252ToUtf8(window_table::text(window)).c_str());
    }
    return 0;
}

int waitFor(const std::string& prefix, int timeoutMs) {
    const std::string wanted = utf8ToCp1252(prefix);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        for (Hwnd window : window_table::topLevelWindows()) {
            const std::string title = window_table::text(window);
            if (title.size() >= wanted.size() &&
                sameNoCase(std::string_view(title).substr(0, wanted.size()), wanted)) {
                std::printf("0x%llx\n", static_cast<unsigned long long>(window));
                return 0;
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) return 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

int text(Hwnd window) {
    const SendResult answer = sendMessage(Message{window, WM_GETTEXT, 1u << 24, 0, {}});
    if (!answer.delivered) return 1;
    std::printf("%s\n", cp1252ToUtf8(answer.text).c_str());
    return 0;
}

int deliver(bool send, const std::vector<std::string>& args) {
    const auto window = number(args[0]);
    const auto id = messageId(args[1]);
    if (!window || !id) return usage();
    Message message{static_cast<Hwnd>(*window), *id, 0, 0, {}};
    std::vector<std::string> numbers;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--text" && i + 1 < args.size())
            message.text = utf8ToCp1252(args[++i]);
        else
            numbers.push_back(args[i]);
    }
    if (numbers.size() > 2) return usage();
    std::optional<std::int64_t> w = numbers.size() > 0 ? number(numbers[0]) : std::optional<std::int64_t>(0);
    std::optional<std::int64_t> l = numbers.size() > 1 ? number(numbers[1]) : std::optional<std::int64_t>(0);
    if (!w || !l) return usage();
    message.wParam = static_cast<std::uint64_t>(*w);
    message.lParam = *l;
    if (!send) return postMessage(message) ? 0 : 1;
    const SendResult answer = sendMessage(message);
    if (!answer.delivered) return 1;
    std::printf("%lld\n", static_cast<long long>(answer.result));
    if (message.id == WM_GETTEXT) std::printf("%s\n", cp1252ToUtf8(answer.text).c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    const std::string& command = args[0];
    if (command == "list" && args.size() == 1) return list();
    if (command == "wait" && (args.size() == 2 || args.size() == 3)) {
        const auto timeout = args.size() == 3 ? number(args[2]) : std::optional<std::int64_t>(10000);
        return timeout ? waitFor(args[1], static_cast<int>(*timeout)) : usage();
    }
    if (command == "text" && args.size() == 2) {
        const auto window = number(args[1]);
        return window ? text(static_cast<Hwnd>(*window)) : usage();
    }
    if ((command == "send" || command == "post") && args.size() >= 3)
        return deliver(command == "send", {args.begin() + 1, args.end()});
    return usage();
}
