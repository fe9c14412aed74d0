#include "editor/printing/header_footer.h"

#include "platform/base/code_page.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <cwchar>
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

std::string strftimeOf(const std::string& code, const std::tm& local) {
    // strftime answers 0 both for a buffer too small and for an empty result: grow a few times, then give up.
    for (std::size_t size = 256; size <= 65536; size *= 4) {
        std::vector<char> buffer(size);
        if (const std::size_t length = std::strftime(buffer.data(), buffer.size(), code.c_str(), &local))
            return std::string(buffer.data(), length);
    }
    return {};
}

// The C library writes names of days and months in the locale's encoding (UTF-8 in most); the page's text
// is code-page text.
std::string localeToCodePage(std::string_view text) {
    std::string out;
    std::mbstate_t state{};
    while (!text.empty()) {
        wchar_t c = 0;
        std::size_t length = std::mbrtowc(&c, text.data(), text.size(), &state);
        if (length == static_cast<std::size_t>(-1) || length == static_cast<std::size_t>(-2)) {
            state = {};
            c = L'?';
            length = 1;
        }
        out += platform::unicodeToCp1252(static_cast<char32_t>(c));
        text.remove_prefix(std::max<std::size_t>(length, 1));
    }
    return out;
}

// The length of the strftime code at `at`: "%", glibc's flags and width, an E or O modifier, the conversion;
// 0 when the text ends before the conversion.
std::size_t codeLength(std::string_view text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && std::strchr("_-0^#", text[end]))
        ++end;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    if (end < text.size() && (text[end] == 'E' || text[end] == 'O')) ++end;
    return end < text.size() ? end + 1 - at : 0;
}

// The text around the codes is code-page text and stays as it is; each code's value is turned into it.
std::string formatTime(std::string_view pattern, std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    std::string out;
    for (std::size_t at = 0; at < pattern.size();) {
        const std::size_t length = pattern[at] == '%' ? codeLength(pattern, at) : 0;
        if (length == 0) {
            out += pattern[at++];
            continue;
        }
        out += localeToCodePage(strftimeOf(std::string(pattern.substr(at, length)), local));
        at += length;
    }
    return out;
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
