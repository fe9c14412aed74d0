#pragma once
// What the STR members share among themselves: the library-owned result buffers and character classes.
#include <cstddef>

namespace str_detail {

// The buffer shared by HexFromBin's text form, StrDate and WideToChar, with room for at least `size` bytes
// (never fewer than 260); null when memory runs out.
char* resultBuffer(size_t size);

// Each family's buffer is freed by STR::Reset.
void releaseResultBuffer();
void releaseUriBuffer();
void releaseDecoderSlots();

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

inline int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace str_detail
