#pragma once
// What the STR members share among themselves: the library-owned result buffers and character classes.
#include "platform/base/ascii.h"

#include <cstddef>

namespace str_detail {

// The buffer shared by HexFromBin's text form, StrDate and WideToChar, with room for at least `size` bytes
// (never fewer than 260); null when memory runs out.
char* resultBuffer(size_t size);

// Each family's buffer is freed by STR::Reset.
void releaseResultBuffer();
void releaseUriBuffer();
void releaseDecoderSlots();

using platform::hexDigit;
using platform::isBlank;

} // namespace str_detail
