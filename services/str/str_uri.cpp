// Percent-encoding of URI parts, and its decoding (with the numeric character references that map services
// answer with).
#include "services/str/str.h"
#include "services/str/str_internal.h"

#include <cstdlib>
#include <cstring>

namespace {

using str_detail::hexDigit;

char* encodeBuffer = nullptr;

bool isAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The byte of two hexadecimal digits, or -1.
int hexByte(const char* p) {
    const int high = hexDigit(p[0]);
    const int low = high < 0 ? -1 : hexDigit(p[1]);
    return low < 0 ? -1 : high << 4 | low;
}

// "&#xHH;" at `p` (with at least 6 characters there): the byte, or -1.
int reference(const char* p) {
    if (std::strncmp(p, "&#x", 3) != 0 || p[5] != ';') return -1;
    return hexByte(p + 3);
}

} // namespace

namespace str_detail {
void releaseUriBuffer() {
    std::free(encodeBuffer);
    encodeBuffer = nullptr;
}
} // namespace str_detail

char* STR::UriEncode(const char* text) {
    if (!text) return nullptr;
    const size_t length = std::strlen(text);
    char* grown = static_cast<char*>(std::realloc(encodeBuffer, length * 3 + 1));
    if (!grown) return nullptr;
    encodeBuffer = grown;
    char* o = encodeBuffer;
    for (const char* p = text; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (isAlnum(c)) {
            *o++ = *p;
        } else {
            *o++ = '%';
            *o++ = CharHexa[c >> 4];
            *o++ = CharHexa[c & 0x0F];
        }
    }
    *o = 0;
    return encodeBuffer;
}

char* STR::UriDecode(char* text) {
    if (!text) return text;
    const size_t length = std::strlen(text);
    char* out = text;
    size_t i = 0;
    // An escape never starts in the last two characters.
    while (i + 2 < length) {
        if (text[i] == '%') {
            const int byte = hexByte(text + i + 1);
            if (byte >= 0) {
                *out++ = static_cast<char>(byte);
                i += 3;
                continue;
            }
        } else if (text[i] == '&' && i + 6 <= length) {
            const int byte = reference(text + i);
            // The UTF-8 form of é written as two references is taken back to the code page's é.
            if (byte == 0xC3 && i + 12 <= length && reference(text + i + 6) == 0xA9) {
                *out++ = '\xE9';
                i += 12;
                continue;
            }
            if (byte >= 0) {
                *out++ = static_cast<char>(byte);
                i += 6;
                continue;
            }
        }
        *out++ = text[i++];
    }
    while (i < length)
        *out++ = text[i++];
    *out = 0;
    return text;
}
