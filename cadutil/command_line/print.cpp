#include "cadutil/command_line/print.h"

#include <cstdio>
#include <string>

#include "cadutil/resbuf/text_convert.h"
#include "host/editor/acut.h"
#include "host/editor/message_box.h"
#include "services/output/output.h"

NarrowPrintHook g_printHook = cmdprintf;
WidePrintHook g_widePrintHook = acutPrintf;

namespace {

// The text of a format and its arguments, cut to `limit` characters.
std::string formatted(std::size_t limit, const char* format, va_list args) {
    std::string text(limit + 1, '\0');
    int n = std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), limit));
    return text;
}

int printOnCommandLine(const std::string& text) {
    return text.empty() ? 0 : acutPrintf(L"%s", codePageToWide(text).c_str());
}

} // namespace

int cmdprintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = formatted(2047, format, args);
    va_end(args);
    return printOnCommandLine(text);
}

int msgprintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = formatted(9999, format, args);
    va_end(args);
    mprint(text.c_str(), 0);
    return printOnCommandLine(text);
}

int msgBox(const char* text) {
    AfxMessageBox(codePageToWide(text ? text : "").c_str(),
                  MB_ICONEXCLAMATION | MB_TOPMOST | MB_SETFOREGROUND);
    return 1;
}

void resetPrintHooks() {
    g_printHook = cmdprintf;
    g_widePrintHook = acutPrintf;
}
