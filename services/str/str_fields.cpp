// Splitting a line into fields, and escaping of special characters inside fields.
#include "services/str/str.h"
#include "services/str/str_internal.h"

#include <cstring>

namespace {

using str_detail::isBlank;

// Where the walk over a line stops: its end, a line break (unless it separates the fields) or Ctrl-Z.
bool endsLine(char c, char sep) {
    return c == 0 || c == 26 || ((c == '\r' || c == '\n') && c != sep);
}

// The closing quote of a field that opens at `open`: the next '"' not preceded by a backslash.
char* closingQuote(char* open, char sep) {
    for (char* p = open + 1; !endsLine(*p, sep); ++p)
        if (*p == '"' && p[-1] != '\\') return p;
    return nullptr;
}

} // namespace

int STR::Separe(char* text, char sep, MyPCharArray& fields, int max, int flags) {
    if (!(flags & 4)) fields.SetSize(0);
    if (!text) return fields.count;
    Espace(text);
    if (*text == '\'') return fields.count;

    int made = 0;
    char* p = text;
    while (!endsLine(*p, sep)) {
        if (max > 0 && made == max) break;
        char* field = p;
        if ((flags & 1) && *p == '"') {
            if (char* close = closingQuote(p, sep)) {
                if (flags & 2) {
                    field = p + 1;
                    *close = 0;
                }
                p = close + 1;
            }
        }
        fields.Add(field);
        ++made;
        for (; !endsLine(*p, sep) && *p != sep; ++p)
            if (sep == ';' && *p == '\xBB') *p = ';';
        if (*p != sep) break;
        // The separator and the blanks around it end the field.
        for (char* q = p; q > field && isBlank(q[-1]); --q)
            q[-1] = 0;
        *p++ = 0;
        while (isBlank(*p))
            *p++ = 0;
    }
    *p = 0;
    return fields.count;
}

namespace {

// The code paired with `c` in a list of (character, code) pairs, or 0.
char codeOf(const char* pairs, char c, bool fromCharacter) {
    for (const char* p = pairs; p[0] && p[1]; p += 2)
        if ((fromCharacter ? p[0] : p[1]) == c) return fromCharacter ? p[1] : p[0];
    return 0;
}

} // namespace

int STR::Chr_special_packe(char* text, const char* pairs, int escape, size_t size) {
    if (!text || !pairs || std::strlen(text) < 2) return 0;
    int replaced = 0;
    size_t length = std::strlen(text);
    for (size_t i = 0; i < length; ++i) {
        if (!escape) {
            if (text[i] != '\\' || i + 1 >= length) continue;
            if (const char code = codeOf(pairs, text[i + 1], true)) {
                text[++i] = code;
                ++replaced;
            }
            continue;
        }
        const char code = codeOf(pairs, text[i], true);
        if (!code) continue;
        // A character at the very start is escaped too, so that unpacking finds it again.
        if (i == 0 || text[i - 1] != '\\') {
            if (size != 0 && length + 2 > size) break;
            std::memmove(text + i + 1, text + i, length - i + 1);
            text[i++] = '\\';
            ++length;
        }
        text[i] = code;
        ++replaced;
    }
    return replaced;
}

int STR::Chr_special_depacke(char* text, const char* pairs, int escape) {
    if (!text || !pairs || std::strlen(text) < 2) return 0;
    int replaced = 0;
    char* out = text;
    for (const char* in = text; *in; ++in) {
        const char character = in[0] == '\\' && in[1] ? codeOf(pairs, in[1], false) : 0;
        if (!character) {
            *out++ = *in;
            continue;
        }
        if (!escape) *out++ = '\\';
        *out++ = character;
        ++in;
        ++replaced;
    }
    *out = 0;
    return replaced;
}
