// Character search, counting, insertion, removal and substitution.
#include "services/str/str.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

int replaceAll(char* text, char from, char to) {
    if (!text) return 0;
    int count = 0;
    for (char* p = text; *p; ++p)
        if (*p == from) {
            *p = to;
            ++count;
        }
    return count;
}

// Length of `text` with every `what` replaced by `with`.
size_t replacedLength(const char* text, const char* what, const char* with) {
    const size_t whatLength = std::strlen(what), withLength = std::strlen(with);
    size_t length = 0;
    for (const char* p = text; *p;) {
        if (std::strncmp(p, what, whatLength) == 0) {
            length += withLength;
            p += whatLength;
        } else {
            ++length;
            ++p;
        }
    }
    return length;
}

} // namespace

int STR::C47_92(char* text) {
    return replaceAll(text, '/', '\\');
}
int STR::C92_47(char* text) {
    return replaceAll(text, '\\', '/');
}

int STR::Chr_cat(char* text, char c) {
    if (!text) return 0;
    const size_t length = std::strlen(text);
    text[length] = c;
    text[length + 1] = 0;
    return static_cast<int>(length + 1);
}

char* STR::Chr_cherche(const char* text, char c, int n) {
    if (!text) return nullptr;
    if (n >= 0) {
        int seen = 0;
        for (const char* p = text; *p; ++p)
            if (*p == c && ++seen >= n) return const_cast<char*>(p);
        return nullptr;
    }
    int seen = 0;
    for (const char* p = text + std::strlen(text); p != text;)
        if (*--p == c && ++seen >= -n) return const_cast<char*>(p);
    return nullptr;
}

int STR::Chr_compte(const char* text, char c, int length, char** last) {
    if (last) *last = const_cast<char*>(text);
    if (!text) return 0;
    int count = 0;
    for (int i = 0; text[i] && (length <= 0 || i < length); ++i)
        if (text[i] == c) {
            ++count;
            if (last) *last = const_cast<char*>(text + i);
        }
    return count;
}

int STR::Efface(char* text, int at, int n, int length) {
    if (!text) return 0;
    if (length <= 0) length = static_cast<int>(std::strlen(text));
    if (at < 0 || at >= length) return 0;
    if (n <= 0) n = 1;
    if (n > length - at) n = length - at;
    std::memmove(text + at, text + at + n, static_cast<size_t>(length - at - n) + 1);
    return 1;
}

int STR::Insere(char* text, int at, char c, int size) {
    if (!text) return 0;
    const int length = static_cast<int>(std::strlen(text));
    // The longer text needs length + 2 bytes with its terminator.
    if (size != 0 && size < length + 2) return 0;
    if (at == -1) at = length;
    if (at < 0 || at > length) return 0;
    std::memmove(text + at + 1, text + at, static_cast<size_t>(length - at) + 1);
    text[at] = c;
    return at;
}

int STR::Replace(char* text, char from, char to) {
    if (!text) return 0;
    if (to != 0) return replaceAll(text, from, to);
    int removed = 0;
    char* out = text;
    for (const char* in = text; *in; ++in) {
        if (*in == from)
            ++removed;
        else
            *out++ = *in;
    }
    *out = 0;
    return removed;
}

char* STR::Replace(const char* text, const char* what, const char* with, char* out) {
    return Replace(text, what, with, out, std::numeric_limits<size_t>::max());
}

char* STR::Replace(const char* text, const char* what, const char* with, char* out, size_t outSize) {
    if (!text) return nullptr;
    if (!with) with = "";
    const bool nothingToFind = !what || !*what;
    const size_t length = nothingToFind ? std::strlen(text) : replacedLength(text, what, with);
    if (!out) {
        out = static_cast<char*>(std::malloc(length + 1));
        if (!out) return nullptr;
    } else if (length >= outSize) {
        return nullptr;
    }
    if (nothingToFind) {
        std::memcpy(out, text, length + 1);
        return out;
    }
    const size_t whatLength = std::strlen(what), withLength = std::strlen(with);
    char* o = out;
    for (const char* p = text; *p;) {
        if (std::strncmp(p, what, whatLength) == 0) {
            std::memcpy(o, with, withLength);
            o += withLength;
            p += whatLength;
        } else {
            *o++ = *p++;
        }
    }
    *o = 0;
    return out;
}

int STR::Remplace(char* text, const char* pairs) {
    if (!text || !pairs) return 0;
    size_t pairBytes = std::strlen(pairs);
    if (pairBytes > 2 * 255) pairBytes = 2 * 255;
    int handled = 0;
    char* out = text;
    for (const char* in = text; *in; ++in) {
        const char* pair = nullptr;
        for (size_t i = 0; i + 1 < pairBytes; i += 2)
            if (pairs[i] == *in) {
                pair = pairs + i;
                break;
            }
        if (!pair) {
            *out++ = *in;
            continue;
        }
        ++handled;
        if (pair[1] != '^') *out++ = pair[1];
    }
    *out = 0;
    return handled;
}
