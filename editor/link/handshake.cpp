#include "editor/link/handshake.h"

#include "platform/windows/process_memory.h"
#include "services/startup/shared_records.h"

#include <charconv>
#include <cstring>
#include <unistd.h>

namespace {

struct HandshakeNumbers {
    std::int32_t process = 0;
    std::uint64_t address = 0;
    std::uint64_t window = 0;
};

// "pid,address,window": a decimal id, then two hexadecimal numbers; nullopt when malformed.
std::optional<HandshakeNumbers> parseNumbers(std::string_view text) {
    HandshakeNumbers numbers;
    const char* const end = text.data() + text.size();
    // Each number ends at the comma that follows it, the last at the end of the text.
    const auto number = [&](const char* from, auto& value, int base, char after) -> const char* {
        const std::from_chars_result read = std::from_chars(from, end, value, base);
        if (read.ec != std::errc() || read.ptr == from) return nullptr;
        if (after == '\0') return read.ptr == end ? read.ptr : nullptr;
        return read.ptr != end && *read.ptr == after ? read.ptr + 1 : nullptr;
    };
    const char* next = number(text.data(), numbers.process, 10, ',');
    if (next) next = number(next, numbers.address, 16, ',');
    if (next) next = number(next, numbers.window, 16, '\0');
    if (!next) return std::nullopt;
    return numbers;
}

} // namespace

std::optional<platform::Hwnd> runHandshake(std::string_view text, platform::Hwnd mainFrame) {
    const std::optional<HandshakeNumbers> numbers = parseNumbers(text);
    if (!numbers || numbers->process == 0 || numbers->address == 0) return std::nullopt;
    if (numbers->process == -1) {
        if (g_pTpadG) g_pTpadG->frameWindow = mainFrame;
        return std::nullopt;
    }
    if (numbers->process < 0) return std::nullopt;
    // Only the frame is written, and only into a link that waits for this editor: the caller may be writing
    // the link's other fields meanwhile.
    Tavropad link(0);
    if (!platform::readProcessMemory(numbers->process, numbers->address, &link, sizeof link))
        return std::nullopt;
    if (link.processId != numbers->process && link.processId != getpid()) return std::nullopt;
    if (!platform::writeProcessMemory(numbers->process, numbers->address, &mainFrame, sizeof mainFrame))
        return std::nullopt;
    return numbers->window;
}
