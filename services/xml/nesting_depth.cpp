#include "services/xml/nesting_depth.h"

#include <cstring>

namespace xml_nesting {
namespace {

// The first character after `end` from `from` on, or the terminating zero when it never comes.
const char* after(const char* from, const char* end) {
    const char* found = std::strstr(from, end);
    return found ? found + std::strlen(end) : from + std::strlen(from);
}

// The character after the ">" of the tag that starts at `tag`, quoted values passed over; `selfClosing`
// tells whether it ended with "/>".
const char* afterTag(const char* tag, bool& selfClosing) {
    char quote = 0;
    const char* at = tag + 1;
    for (; *at; ++at) {
        if (quote) {
            if (*at == quote) quote = 0;
        } else if (*at == '"' || *at == '\'') {
            quote = *at;
        } else if (*at == '>') {
            selfClosing = at[-1] == '/';
            return at + 1;
        }
    }
    selfClosing = false;
    return at;
}

} // namespace

const char* tooDeep(const char* text, int mostLevels) {
    int depth = 0;
    const char* at = text;
    while ((at = std::strchr(at, '<')) != nullptr) {
        if (std::strncmp(at, "<!--", 4) == 0) {
            at = after(at + 4, "-->");
        } else if (std::strncmp(at, "<![CDATA[", 9) == 0) {
            at = after(at + 9, "]]>");
        } else if (at[1] == '?' || at[1] == '!') {
            at = after(at + 2, ">");
        } else if (at[1] == '/') {
            if (depth > 0) --depth;
            at = after(at + 2, ">");
        } else {
            bool selfClosing = false;
            const char* tag = at;
            at = afterTag(at, selfClosing);
            if (!selfClosing && ++depth > mostLevels) return tag;
        }
    }
    return nullptr;
}

} // namespace xml_nesting
