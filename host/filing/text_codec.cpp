#include "host/filing/text_codec.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>

#include "platform/base/utf8.h"

namespace host {
namespace {

// Windows-1252 bytes 0x80-0x9F; 0 marks the five unassigned bytes (kept as the C1 control of that value).
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

wchar_t cp1252ToWide(unsigned char b) {
    if (b >= 0x80 && b < 0xA0 && kHighControls[b - 0x80])
        return static_cast<wchar_t>(kHighControls[b - 0x80]);
    return static_cast<wchar_t>(b);
}

int wideToCp1252(wchar_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] ? static_cast<wchar_t>(kHighControls[i]) == c
                             : c == static_cast<wchar_t>(0x80 + i))
            return 0x80 + i;
    return -1;
}

// A character beyond 16 bits as UTF-16 writes it: a high then a low surrogate, each of 10 bits.
char16_t highSurrogate(std::uint32_t code) {
    return static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
}
char16_t lowSurrogate(std::uint32_t code) {
    return static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
}
bool isHighSurrogate(long unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}
bool isLowSurrogate(long unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}
wchar_t joinSurrogates(long high, long low) {
    return static_cast<wchar_t>(0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
}

} // namespace

std::string toUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        auto c = static_cast<char32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring fromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const platform::Utf8Char c = platform::decodeUtf8At(text, i);
        out += static_cast<wchar_t>(c.valid ? c.code : 0xFFFD);
        i += c.length;
    }
    return out;
}

std::wstring fromCp1252(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (char c : text)
        out += cp1252ToWide(static_cast<unsigned char>(c));
    return out;
}

namespace {

// "\\U+" and four upper-case hexadecimal digits.
void appendEscape(std::string& out, std::uint32_t code) {
    static const char digits[] = "0123456789ABCDEF";
    out += "\\U+";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += digits[(code >> shift) & 15];
}

// The value of the escape "\\U+XXXX" at `at`, or -1.
long escapeAt(std::wstring_view text, std::size_t at) {
    if (at + 7 > text.size() || text[at] != L'\\' || (text[at + 1] != L'U' && text[at + 1] != L'u') ||
        text[at + 2] != L'+')
        return -1;
    std::string digits;
    for (std::size_t k = at + 3; k < at + 7; ++k)
        digits += static_cast<char>(text[k] < 0x80 ? text[k] : 'x');
    unsigned value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + 4, value, 16);
    return ec == std::errc() && end == digits.data() + 4 ? static_cast<long>(value) : -1;
}

} // namespace

std::string toCp1252(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        int b = wideToCp1252(c);
        if (b >= 0) {
            out += static_cast<char>(b);
            continue;
        }
        // Beyond the 16 bits an escape holds, a character goes as its pair of surrogates.
        const auto code = static_cast<std::uint32_t>(c);
        if (code > 0xFFFF && code <= 0x10FFFF) {
            appendEscape(out, highSurrogate(code));
            appendEscape(out, lowSurrogate(code));
        } else {
            appendEscape(out, code & 0xFFFF);
        }
    }
    return out;
}

std::wstring decodeUnicodeEscapes(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const long value = escapeAt(text, i);
        if (value < 0) {
            out += text[i];
            continue;
        }
        const bool surrogate = isHighSurrogate(value) || isLowSurrogate(value);
        const long low = isHighSurrogate(value) ? escapeAt(text, i + 7) : -1;
        if (isLowSurrogate(low)) {
            out += joinSurrogates(value, low);
            i += 13;
        } else if (surrogate) {
            out += text[i]; // half a character: kept as the text it is
        } else {
            out += static_cast<wchar_t>(value);
            i += 6;
        }
    }
    return out;
}

std::u16string toUtf16(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        const auto code = static_cast<std::uint32_t>(c);
        if (code > 0xFFFF && code <= 0x10FFFF) {
            out += highSurrogate(code);
            out += lowSurrogate(code);
        } else {
            out += code > 0xFFFF ? u'\uFFFD' : static_cast<char16_t>(code);
        }
    }
    return out;
}

std::wstring fromUtf16(std::u16string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            out += joinSurrogates(text[i], text[i + 1]);
            ++i;
        } else {
            out += static_cast<wchar_t>(text[i]);
        }
    }
    return out;
}

} // namespace host
