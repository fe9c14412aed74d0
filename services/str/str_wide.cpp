// Narrowing of wide text. The Windows build's wide text has 16-bit units; here wchar_t has 32 bits and each
// unit is narrowed the same way, to its low byte.
#include "services/str/str.h"
#include "services/str/str_internal.h"

#include <cstring>
#include <cwchar>

namespace {

// Text handed over as wchar_t* that is really 8-bit: its first two bytes are both non-zero.
bool looksNarrow(const wchar_t* text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    return bytes[0] != 0 && bytes[1] != 0;
}

void narrowInto(const wchar_t* text, char* out) {
    size_t i = 0;
    for (; text[i]; ++i)
        out[i] = static_cast<char>(static_cast<uint32_t>(text[i]) & 0xFFu);
    out[i] = 0;
}

bool isWide(const wchar_t* text) {
    return static_cast<uint32_t>(text[0]) < 258;
}

} // namespace

char* STR::WideToChar(const wchar_t* text) {
    if (!text) return nullptr;
    if (looksNarrow(text)) {
        const char* narrow = reinterpret_cast<const char*>(text);
        const size_t length = std::strlen(narrow);
        char* out = str_detail::resultBuffer(length + 1);
        if (out) std::memcpy(out, narrow, length + 1);
        return out;
    }
    char* out = str_detail::resultBuffer(std::wcslen(text) + 1);
    if (out) narrowInto(text, out);
    return out;
}

char* WideToMb(wchar_t* text, char* out) {
    if (!text) return out;
    if (!out) {
        if (isWide(text)) narrowInto(text, reinterpret_cast<char*>(text));
        return reinterpret_cast<char*>(text);
    }
    return WideToMb(static_cast<const wchar_t*>(text), out);
}

char* WideToMb(const wchar_t* text, char* out) {
    if (!text || !out) return out;
    if (isWide(text))
        narrowInto(text, out);
    else
        std::strcpy(out, reinterpret_cast<const char*>(text));
    return out;
}
