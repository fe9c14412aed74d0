#pragma once
// Text typed into another program's window, one character message at a time, at a pace its input keeps up
// with.
#include "platform/windows/window_table.h"

#include <cstdint>
#include <string_view>

// The lParam of a typed character: repeat count 1, the character in the scan-code bits, the two top bits set.
constexpr std::int64_t keystrokeLParam(unsigned char c) {
    return static_cast<std::int64_t>(0xC0000001u + (static_cast<std::uint32_t>(c) << 16));
}

// Posts WM_CHAR for each character, pausing 40 ms after a blank or control character and 20 ms after
// another; a message that cannot be posted is skipped without a pause. The number of messages posted.
int PostKeystrokes(platform::Hwnd window, std::string_view text);
