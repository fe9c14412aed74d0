#include "host/selection/wildcard.h"

#include <cwctype>
#include <vector>

#include "host/db/resbuf.h"

namespace host {

namespace {

wchar_t fold(wchar_t c, bool ignoreCase) {
    return ignoreCase ? static_cast<wchar_t>(std::towupper(c)) : c;
}

// Whether `c` is in the class starting after "[" at pattern[i]; `i` ends after the "]".
bool inClass(wchar_t c, std::wstring_view p, std::size_t& i, bool ignoreCase) {
    bool negate = i < p.size() && p[i] == L'~';
    if (negate) ++i;
    bool found = false;
    bool first = true;
    while (i < p.size() && (p[i] != L']' || first)) {
        wchar_t lo = fold(p[i], ignoreCase);
        if (i + 2 < p.size() && p[i + 1] == L'-' && p[i + 2] != L']') {
            wchar_t hi = fold(p[i + 2], ignoreCase);
            found = found || (c >= lo && c <= hi);
            i += 3;
        } else {
            found = found || c == lo;
            ++i;
        }
        first = false;
    }
    if (i < p.size()) ++i; // the "]"
    return found != negate;
}

bool matchOne(std::wstring_view t, std::wstring_view p, bool ignoreCase) {
    std::size_t ti = 0, pi = 0;
    std::size_t starP = std::wstring_view::npos, starT = 0;
    while (ti < t.size()) {
        bool ok = false;
        std::size_t next = pi + 1;
        if (pi < p.size()) {
            wchar_t c = fold(t[ti], ignoreCase);
            switch (p[pi]) {
            case L'*':
                starP = pi++;
                starT = ti;
                continue;
            case L'?':
                ok = true;
                break;
            case L'#':
                ok = std::iswdigit(c) != 0;
                break;
            case L'@':
                ok = std::iswalpha(c) != 0;
                break;
            case L'.':
                ok = !std::iswalnum(c);
                break;
            case L'[':
                next = pi + 1;
                ok = inClass(c, p, next, ignoreCase);
                break;
            case L'`':
                ok = pi + 1 < p.size() && c == fold(p[pi + 1], ignoreCase);
                next = pi + 2;
                break;
            default:
                ok = c == fold(p[pi], ignoreCase);
                break;
            }
        }
        if (ok) {
            ++ti;
            pi = next;
        } else if (starP != std::wstring_view::npos) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == L'*')
        ++pi;
    return pi == p.size();
}

} // namespace

bool wildcardMatch(std::wstring_view text, std::wstring_view pattern, bool ignoreCase) {
    std::size_t start = 0;
    for (;;) {
        // Alternatives split at commas that are not escaped.
        std::size_t end = start;
        while (end < pattern.size() && pattern[end] != L',') {
            if (pattern[end] == L'`') ++end;
            ++end;
        }
        std::wstring_view alt = pattern.substr(start, end - start);
        bool negate = !alt.empty() && alt[0] == L'~';
        if (negate) alt.remove_prefix(1);
        if (matchOne(text, alt, ignoreCase) != negate) return true;
        if (end >= pattern.size()) return false;
        start = end + 1;
    }
}

} // namespace host

int acutWcMatch(const ACHAR* string, const ACHAR* pattern) {
    if (!string || !pattern) return RTERROR;
    return host::wildcardMatch(string, pattern, false) ? RTNORM : RTERROR;
}
