// Blank trimming and reduction.
#include "services/str/str.h"
#include "services/str/str_internal.h"

#include <cstring>

namespace {

using str_detail::isBlank;
// Removes leading and trailing characters for which `drop` holds.
template <typename Pred> void trim(char* text, bool leading, bool trailing, Pred drop) {
    size_t length = std::strlen(text);
    if (trailing)
        while (length > 0 && drop(text[length - 1]))
            text[--length] = 0;
    if (leading) {
        size_t start = 0;
        while (start < length && drop(text[start]))
            ++start;
        if (start > 0) std::memmove(text, text + start, length - start + 1);
    }
}

// Tabs become blanks, then runs of `c` become one.
void reduceRuns(char* text, char c) {
    char* out = text;
    for (const char* in = text; *in; ++in) {
        const char ch = *in == '\t' ? ' ' : *in;
        if (ch == c && out > text && out[-1] == c) continue;
        *out++ = ch;
    }
    *out = 0;
}

} // namespace

char* STR::Espace(char* text) {
    if (text) trim(text, true, true, isBlank);
    return text;
}

char* STR::Espace_reduit(char* text) {
    if (!text) return text;
    trim(text, true, true, isBlank);
    reduceRuns(text, ' ');
    return text;
}

char* STR::Espace_tous(char* text) {
    if (!text) return text;
    char* out = text;
    for (const char* in = text; *in; ++in)
        if (!isBlank(*in)) *out++ = *in;
    *out = 0;
    return text;
}

char* STR::Chr_reduit(char* text, char c, int flags) {
    if (!text) return text;
    trim(text, flags & 1, flags & 2, [c](char ch) { return ch == c || ch == '\t'; });
    if (flags & 4) reduceRuns(text, c);
    return text;
}

char* STR::CR_LF(char* text, int* found) {
    if (!text) return text;
    const size_t before = std::strlen(text);
    trim(text, false, true, [](char ch) { return ch == '\r' || ch == '\n'; });
    if (found && std::strlen(text) != before) *found = 1;
    return text;
}
