// Wildcard matching with configurable special characters.
#include "services/str/str.h"

#include <cstring>

namespace {

struct Specials {
    char alternative, rest, invert, any;
};

// Matches `text` against one alternative, the pattern range [pattern, end).
bool matches(const char* text, const char* pattern, const char* end, const Specials& s) {
    for (; pattern != end; ++pattern, ++text) {
        if (*pattern == s.rest) return true;
        if (*pattern == s.invert) return !matches(text, pattern + 1, end, s);
        if (!*text) return false;
        if (*pattern != s.any && *pattern != *text) return false;
    }
    return !*text;
}

} // namespace

int STR::Teste_ASCII(const char* text, const char* pattern, const char* specials) {
    if (!pattern || !*pattern) return 1;
    if (!text || !*text) return 0;
    if (!specials || std::strlen(specials) < 4) specials = ",*~?";
    const Specials s{specials[0], specials[1], specials[2], specials[3]};
    for (const char* start = pattern;;) {
        const char* end = std::strchr(start, s.alternative);
        if (!end) end = start + std::strlen(start);
        if (matches(text, start, end, s)) return 1;
        if (!*end) return 0;
        start = end + 1;
    }
}
