// Converting a file between the Windows and the DOS code page, in place.
#include "services/dos/dos.h"
#include "services/str/str.h"

#include "platform/files/atomic_file.h"
#include "platform/files/path_map.h"

#include <optional>
#include <string>

namespace {

// What DOS::win answers for a file already in the target code page.
constexpr int kAlreadyConverted = 254;

// é, è, ê and à in the DOS code page (direction non-zero) or in the Windows one.
bool holdsAccentsOf(const std::string& text, int direction) {
    const std::string_view accents = direction ? std::string_view("\x82\x8A\x88\x85") : "\xE9\xE8\xEA\xE0";
    return text.find_first_of(accents) != std::string::npos;
}

// The whole text, NUL bytes included: the conversion works on one zero-ended piece at a time.
int convert(std::string& text, int direction) {
    int changed = 0;
    for (size_t at = 0; at < text.size(); at += std::char_traits<char>::length(text.data() + at) + 1)
        changed += STR::Win_dos(text.data() + at, direction);
    return changed;
}

} // namespace

int DOS::win(const char* file, int mode, int direction) {
    if (!file || !*file) return -1;
    const std::string path = platform::hostPath(file);
    std::optional<std::string> text = platform::readWholeFile(path);
    if (!text) return -1;
    if (mode < 0) return holdsAccentsOf(*text, !direction) ? 1 : 0;
    if (mode > 0 && holdsAccentsOf(*text, direction)) return kAlreadyConverted;
    const int changed = convert(*text, direction);
    if (changed > 0 &&
        !platform::rewriteFile(path, [&](const std::optional<std::string>&) { return std::optional(*text); }))
        return -1;
    return changed;
}
