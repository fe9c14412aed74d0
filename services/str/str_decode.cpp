// Compact lists of 16-bit values ("1,2,*|S3"), kept in numbered slots so that a caller can decode a list
// once and fetch it again later.
//
// Tokens, separated by ",", blanks or "|", in any case: a number gives its value; "*" gives -9; "Sn" keeps
// the new list in slot n (0 to 21; 22 keeps it nowhere and the caller frees it with free()); "Rn" returns
// the list kept in slot n; "En" frees slot n ("E" or "E0": slots 0 to 20) and returns null. Lists end
// with -10.
#include "services/output/output.h"
#include "services/str/str.h"
#include "services/str/str_internal.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

namespace {

constexpr int kKeptSlots = 22; // slot 22 keeps nothing
constexpr short kAll = -9, kEnd = -10;

short* slots[kKeptSlots] = {};

void freeSlot(int n) {
    std::free(slots[n]);
    slots[n] = nullptr;
}

bool isTokenSeparator(char c) {
    return c == ',' || c == ' ' || c == '\t' || c == '|';
}

// The whole token as a number in [low, high]; an empty token counts as `empty`.
bool readNumber(std::string_view token, int low, int high, int empty, int& value) {
    if (token.empty()) {
        value = empty;
        return true;
    }
    if (token.front() == '+') token.remove_prefix(1);
    const auto result = std::from_chars(token.data(), token.data() + token.size(), value);
    return result.ec == std::errc() && result.ptr == token.data() + token.size() && value >= low &&
           value <= high;
}

enum class Outcome { List, Slot, Freed, Invalid };

struct Parsed {
    std::vector<short> values;
    int keepIn = 0;
    int slot = 0; // for Outcome::Slot
};

Outcome parse(const char* text, Parsed& parsed) {
    const char* p = text;
    while (*p) {
        if (isTokenSeparator(*p)) {
            ++p;
            continue;
        }
        const char* start = p;
        while (*p && !isTokenSeparator(*p))
            ++p;
        const std::string_view token(start, static_cast<size_t>(p - start));
        const std::string_view rest = token.substr(1);
        int n = 0;
        switch (token.front()) {
        case '*':
            if (token.size() != 1) return Outcome::Invalid;
            parsed.values.push_back(kAll);
            break;
        case 'S':
            if (!readNumber(rest, 0, kKeptSlots, 0, n)) return Outcome::Invalid;
            parsed.keepIn = n;
            break;
        case 'R':
            if (!readNumber(rest, 0, kKeptSlots - 1, 0, n)) return Outcome::Invalid;
            parsed.slot = n;
            return Outcome::Slot;
        case 'E':
            if (!readNumber(rest, 0, kKeptSlots - 1, 0, n)) return Outcome::Invalid;
            if (n > 0) {
                freeSlot(n);
            } else {
                for (int i = 0; i <= 20; ++i)
                    freeSlot(i);
            }
            return Outcome::Freed;
        default:
            if (!readNumber(token, std::numeric_limits<short>::min(), std::numeric_limits<short>::max(), 0,
                            n))
                return Outcome::Invalid;
            parsed.values.push_back(static_cast<short>(n));
        }
    }
    return Outcome::List;
}

void reportFailure(const char* text) {
    mprintf("\n ***** Erreur sur STR::Decode(..) :%s ", text);
}

} // namespace

namespace str_detail {
void releaseDecoderSlots() {
    for (int i = 0; i < kKeptSlots; ++i)
        freeSlot(i);
}
} // namespace str_detail

short* STR::Decode(char* text, int, int) {
    if (!text) return nullptr;
    Majuscules(text);
    Parsed parsed;
    switch (parse(text, parsed)) {
    case Outcome::Slot:
        return slots[parsed.slot];
    case Outcome::Freed:
        return nullptr;
    case Outcome::Invalid:
        reportFailure(text);
        return nullptr;
    case Outcome::List:
        break;
    }
    if (parsed.values.empty()) return nullptr;
    parsed.values.push_back(kEnd);
    auto* list = static_cast<short*>(std::malloc(parsed.values.size() * sizeof(short)));
    if (!list) {
        reportFailure(text);
        return nullptr;
    }
    std::memcpy(list, parsed.values.data(), parsed.values.size() * sizeof(short));
    if (parsed.keepIn < kKeptSlots) {
        freeSlot(parsed.keepIn);
        slots[parsed.keepIn] = list;
    }
    return list;
}
