// Number recognition and hexadecimal text.
#include "services/str/str.h"
#include "services/str/str_internal.h"

#include <cstring>
#include <limits>
#include <string_view>

namespace {

using str_detail::hexDigit;
using str_detail::isBlank;

template <typename Char> bool isSign(Char c) {
    return c == '+' || c == '-';
}
template <typename Char> bool isNumberChar(Char c) {
    return (c >= '0' && c <= '9') || c == '.' || isSign(c);
}

template <typename Char> size_t length(const Char* text) {
    size_t n = 0;
    while (text[n])
        ++n;
    return n;
}

// Leading (fromEnd >= 0) or trailing run of number characters; a sign only at the run's left end.
template <typename Char> int numberRun(const Char* text, int fromEnd) {
    if (!text) return 0;
    int run = 0;
    Char last = 0;
    if (fromEnd >= 0) {
        for (const Char* p = text; isNumberChar(*p) && !(isSign(*p) && p != text); ++p, ++run)
            last = *p;
    } else {
        for (const Char* p = text + length(text); p != text;) {
            const Char c = *--p;
            if (!isNumberChar(c)) break;
            ++run;
            last = c;
            if (isSign(c)) break;
        }
    }
    if (run <= 1 && (isSign(last) || last == '.')) return 0;
    return run;
}

} // namespace

int STR::Entier(char* text) {
    if (!text) return 0;
    size_t length = std::strlen(text);
    while (length > 0 && isBlank(text[length - 1]))
        text[--length] = 0;
    const char* p = text;
    if (isSign(*p)) {
        ++p;
        while (isBlank(*p))
            ++p;
    }
    for (; *p; ++p)
        if (*p < '0' || *p > '9') return 0;
    return 1;
}

int STR::Num(const char* text, int fromEnd) {
    return numberRun(text, fromEnd);
}
int STR::Num(const wchar_t* text, int fromEnd) {
    return numberRun(text, fromEnd);
}

int STR::HexFromBin(const unsigned char* data, int n, char* out, char separator) {
    return HexFromBin(data, n, out, std::numeric_limits<size_t>::max(), separator);
}

int STR::HexFromBin(const unsigned char* data, int n, char* out, size_t outSize, char separator) {
    if (!out || outSize == 0) return 0;
    *out = 0;
    if (!data || n <= 0) return 0;
    const size_t perByte = separator ? 3 : 2;
    // n bytes make n pairs and n - 1 separators, then the terminator.
    if (static_cast<size_t>(n) * perByte - (separator ? 1 : 0) >= outSize) return 0;
    char* o = out;
    for (int i = 0; i < n; ++i) {
        if (i > 0 && separator) *o++ = separator;
        *o++ = CharHexa[data[i] >> 4];
        *o++ = CharHexa[data[i] & 0x0F];
    }
    *o = 0;
    return n;
}

char* STR::HexFromBin(const unsigned char* data, int n) {
    const size_t size = n > 0 ? static_cast<size_t>(n) * 2 + 1 : 1;
    char* out = str_detail::resultBuffer(size);
    if (out) HexFromBin(data, n, out, size, 0);
    return out;
}

int STR::BinFromHex(const char* text, unsigned char* out) {
    return BinFromHex(text, out, std::numeric_limits<size_t>::max());
}

int STR::BinFromHex(const char* text, unsigned char* out, size_t outSize) {
    if (!text || !out) return 0;
    size_t written = 0;
    for (const char* p = text; *p && written < outSize; ++p) {
        const int high = hexDigit(*p);
        if (high < 0) continue;
        const int low = hexDigit(p[1]);
        if (low < 0) {
            out[written++] = static_cast<unsigned char>(high);
        } else {
            out[written++] = static_cast<unsigned char>(high << 4 | low);
            ++p;
        }
    }
    return static_cast<int>(written);
}
