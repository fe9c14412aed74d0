#include "editor/printing/header_footer.h"

#include <charconv>
#include <vector>

namespace {

// A value put into the template before strftime reads it: its "%" doubled, so that it prints as it is.
std::string escapedForStrftime(std::string_view value) {
    std::string out;
    for (const char c : value) {
        out += c;
        if (c == '%') out += '%';
    }
    return out;
}

void replaceFirst(std::string& text, std::string_view code, std::string_view value) {
    if (const std::size_t at = text.find(code); at != std::string::npos)
        text.replace(at, code.size(), escapedForStrftime(value));
}

std::string formatTime(const std::string& pattern, std::time_t time) {
    if (pattern.empty()) return {};
    std::tm local{};
    localtime_r(&time, &local);
    // strftime answers 0 both for a buffer too small and for an empty result: grow a few times, then give up.
    for (std::size_t size = 256; size <= 65536; size *= 4) {
        std::vector<char> buffer(size);
        if (const std::size_t length = std::strftime(buffer.data(), buffer.size(), pattern.c_str(), &local))
            return std::string(buffer.data(), length);
    }
    return {};
}

} // namespace

std::string FormatHeaderFooter(std::string_view pattern, std::time_t time, std::string_view path,
                               std::string_view title, int page) {
    std::string text(pattern);
    char number[16];
    const auto [end, error] = std::to_chars(number, number + sizeof number, page);
    replaceFirst(text, "&p", std::string_view(number, error == std::errc() ? end - number : 0));
    replaceFirst(text, "&f", path);
    replaceFirst(text, "&t", title);
    std::string out = formatTime(text, time);
    if (out.size() > kHeaderFooterLimit) out.resize(kHeaderFooterLimit);
    return out;
}
