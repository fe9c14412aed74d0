#include "services/output/output.h"

#include "platform/base/code_page.h"
#include "services/output/output_lock.h"
#include "services/output/output_routing.h"
#include "services/output/text_screens.h"
#include "services/output/wide_format.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>

std::int32_t mprintEnabled = 1;

namespace services {

namespace {

constexpr std::size_t kOutputBufferSize = 8192;
constexpr std::size_t kWideOutputLimit = kOutputBufferSize / 2 - 1; // wide characters, as in 8,192 bytes

char outputBuffer[kOutputBufferSize];

// Tavropad::Text: finding a screen switches output back on when it was merely unset (0).
bool findScreen(TextScreen screen, bool open) {
    if (!textScreens().text(screen, open)) return false;
    if (mprintEnabled == 0) mprintEnabled = 1;
    return true;
}

void route(std::string_view text) {
    for (;; text.remove_prefix(3)) {
        if (text.starts_with("$G$"))
            findScreen(TextScreen::Global, true);
        else if (text.starts_with("$L$"))
            findScreen(TextScreen::Local, true);
        else if (text.starts_with("$S$"))
            textScreens().show(TextScreen::Global, 1);
        else
            break;
    }
    if (text.empty()) return;
    const std::string terminated(text);
    for (TextScreen screen : {TextScreen::Global, TextScreen::Local})
        if (findScreen(screen, false)) textScreens().print(screen, terminated.c_str());
}

} // namespace

bool anyScreenOpen() {
    return findScreen(TextScreen::Global, false) || findScreen(TextScreen::Local, false);
}

bool wouldShow(bool beginsWithDollar) {
    return mprintEnabled > 0 && (beginsWithDollar || anyScreenOpen());
}

const char* formatIntoOutputBuffer(const char* format, va_list arguments) {
    std::vsnprintf(outputBuffer, sizeof outputBuffer, format, arguments);
    return outputBuffer;
}

} // namespace services

int mprint(const char* text, long length) {
    if (mprintEnabled <= 0 || !text) return 0;
    services::route(length > 0 ? std::string_view(text, static_cast<std::size_t>(length))
                               : std::string_view(text));
    return 1;
}

int mprint(const wchar_t* text, long length) {
    if (!text || !services::wouldShow(text[0] == L'$')) return 0;
    const std::size_t count = length > 0 ? static_cast<std::size_t>(length) : std::wcslen(text);
    std::string narrow(count, '\0');
    for (std::size_t i = 0; i < count; ++i)
        narrow[i] = platform::unicodeToCp1252(static_cast<char32_t>(text[i]));
    return mprint(narrow.c_str(), static_cast<long>(count));
}

int mprintf(const char* format, ...) {
    const auto lock = services::lockOutput();
    if (!format || !services::wouldShow(format[0] == '$')) return 0;
    va_list arguments;
    va_start(arguments, format);
    const char* text = services::formatIntoOutputBuffer(format, arguments);
    va_end(arguments);
    if (text[0] == '\0') return 0;
    mprint(text, 0);
    return 1;
}

int mprintf(const wchar_t* format, ...) {
    const auto lock = services::lockOutput();
    if (!format || !services::wouldShow(format[0] == L'$')) return 0;
    va_list arguments;
    va_start(arguments, format);
    std::wstring text = services::formatWide(format, arguments);
    va_end(arguments);
    if (text.size() > services::kWideOutputLimit) text.resize(services::kWideOutputLimit);
    return mprint(text.c_str(), 0);
}

int mcls() {
    using services::TextScreen;
    for (TextScreen screen : {TextScreen::Global, TextScreen::Local})
        if (services::textScreens().text(screen, false)) services::textScreens().clear(screen);
    return 1;
}

int mshow(int show) {
    using services::TextScreen;
    int result = 0;
    for (TextScreen screen : {TextScreen::Global, TextScreen::Local})
        if (services::textScreens().text(screen, false)) result = services::textScreens().show(screen, show);
    return result;
}
