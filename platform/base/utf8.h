#pragma once
// One UTF-8 character read strictly: overlong forms, surrogates and code points above U+10FFFF are malformed,
// so that no other spelling of "/", "." or NUL slips past a check made on the decoded text.
#include <cstddef>
#include <string_view>

namespace platform {

struct Utf8Char {
    char32_t code = 0;
    std::size_t length = 1; // bytes to skip: the whole character, or the one byte of a malformed sequence
    bool valid = false;
};

constexpr Utf8Char decodeUtf8At(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return {lead, 1, true};
    const std::size_t length = (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || at + length > text.size()) return {};
    char32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) return {};
        code = (code << 6) | (next & 0x3F);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kShortest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return {};
    return {code, length, true};
}

// True when the whole of `text` is characters read strictly as above.
constexpr bool isUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = decodeUtf8At(text, at);
        if (!c.valid) return false;
        at += c.length;
    }
    return true;
}

} // namespace platform
