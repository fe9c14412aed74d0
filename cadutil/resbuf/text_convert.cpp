#include "cadutil/resbuf/text_convert.h"

#include <cstring>

#include "platform/base/code_page.h"

ACHAR* strToWide(ACHAR* dest, const char* source) {
    ACHAR* d = dest;
    for (; *source; ++source)
        *d++ = static_cast<unsigned char>(*source);
    *d = 0;
    return dest;
}

ACHAR* strnToWide(ACHAR* dest, const char* source, std::size_t n) {
    std::size_t i = 0;
    for (; i < n && source[i]; ++i)
        dest[i] = static_cast<unsigned char>(source[i]);
    if (i < n) dest[i] = 0;
    return dest;
}

std::wstring codePageToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (unsigned char c : text)
        out += static_cast<wchar_t>(platform::cp1252ToUnicode(c));
    return out;
}

char* wideToStr(char* dest, const ACHAR* source) {
    char* d = dest;
    for (; *source; ++source)
        *d++ = static_cast<char>(*source & 0xff);
    *d = 0;
    return dest;
}

char* wideToStrInPlace(ACHAR* text) {
    // Callers hand in either kind of text: two non-zero leading bytes cannot start a wide one, whose first
    // unit has its upper bytes zero, so the text is 8-bit already.
    char* out = reinterpret_cast<char*>(text);
    if (out[0] != 0 && out[1] != 0) return out;
    // Byte i is written after unit i was read and lies before unit i + 1, so no unit is overwritten before
    // it is read; the units are read through memcpy because the bytes written overlap them.
    std::size_t i = 0;
    for (;; ++i) {
        ACHAR unit;
        std::memcpy(&unit, reinterpret_cast<const char*>(text) + i * sizeof(ACHAR), sizeof unit);
        out[i] = static_cast<char>(unit & 0xff);
        if (!unit) return out;
    }
}
