#include "host/editor/acut.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "host/filing/text_codec.h"

namespace {
std::wstring& transcript() {
    static std::wstring text;
    return text;
}
bool& echo() {
    static bool on = false;
    return on;
}
// The line was just ended by an answer.
bool& answerLineEnded() {
    static bool ended = false;
    return ended;
}
bool& answerLinesShownByTerminal() {
    static bool shown = false;
    return shown;
}

void show(const std::wstring& text) {
    if (!echo()) return;
    std::string utf8 = host::toUtf8(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}
} // namespace

namespace host {

const std::wstring& commandLineTranscript() {
    return transcript();
}
void clearCommandLineTranscript() {
    transcript().clear();
    answerLineEnded() = false;
}
void setCommandLineEcho(bool on) {
    echo() = on;
}
void endAnswerLine() {
    transcript() += L'\n';
    if (!answerLinesShownByTerminal()) show(L"\n");
    answerLineEnded() = true;
}
void setAnswerLinesShownByTerminal(bool shown) {
    answerLinesShownByTerminal() = shown;
}
void endMessageLine() {
    transcript() += L'\n';
    show(L"\n");
    answerLineEnded() = true;
}
void endCommandLine() {
    if (!transcript().empty() && transcript().back() != L'\n') acutPrintf(L"\n");
}

std::wstring toLibraryFormat(const ACHAR* format) {
    std::wstring out;
    if (!format) return out;
    for (const wchar_t* p = format; *p; ++p) {
        out += *p;
        if (*p != L'%') continue;
        if (p[1] == L'%') {
            out += *++p;
            continue;
        }
        // Copy flags, width, precision; then fix the length modifier of text conversions.
        ++p;
        while (*p && std::wcschr(L"-+ #0123456789.*", *p))
            out += *p++;
        bool sized = false;
        while (*p && std::wcschr(L"hlLqjzt", *p)) {
            sized = true;
            out += *p++;
        }
        if (!*p) break;
        if (!sized && (*p == L's' || *p == L'c')) out += L'l';
        out += *p == L'S' ? L's' : *p == L'C' ? L'c' : *p;
    }
    return out;
}

} // namespace host

int acutPrintf(const ACHAR* format, ...) {
    // Longer messages are cut, with a note, rather than lost.
    constexpr std::size_t kLongestMessage = std::size_t{1} << 24;
    std::wstring libraryFormat = host::toLibraryFormat(format);
    std::vector<wchar_t> buffer(1024);
    int n;
    bool unprintable = false;
    for (;;) {
        va_list args;
        va_start(args, format);
        errno = 0;
        n = std::vswprintf(buffer.data(), buffer.size(), libraryFormat.c_str(), args);
        va_end(args);
        if (n >= 0) break;
        // The C library tells a character it cannot convert from a buffer too small.
        unprintable = errno == EILSEQ;
        if (unprintable || buffer.size() >= kLongestMessage) break;
        buffer.resize(buffer.size() * 4);
    }
    std::wstring text;
    if (n >= 0) {
        text.assign(buffer.data(), static_cast<std::size_t>(n));
    } else {
        buffer.back() = L'\0';
        text = buffer.data();
        text += unprintable ? L" [message cut: a character cannot be shown]\n"
                            : L" [message cut at " + std::to_wstring(text.size()) + L" characters]\n";
    }
    if (!text.empty() && answerLineEnded()) {
        answerLineEnded() = false;
        if (text.front() == L'\n') text.erase(0, 1);
    }
    transcript() += text;
    show(text);
    return static_cast<int>(text.size());
}
