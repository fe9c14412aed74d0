#include "services/output/wide_format.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string_view>

namespace services {

namespace {

bool isFlagOrWidth(wchar_t c) {
    return std::wstring_view(L"-+ #0123456789.*").find(c) != std::wstring_view::npos;
}

bool isTextConversion(wchar_t c) {
    return c == L's' || c == L'c' || c == L'S' || c == L'C';
}

} // namespace

std::wstring translateWideFormat(const wchar_t* format) {
    std::wstring out;
    std::wstring_view rest(format);
    while (!rest.empty()) {
        const wchar_t c = rest.front();
        rest.remove_prefix(1);
        out.push_back(c);
        if (c != L'%') continue;
        if (!rest.empty() && rest.front() == L'%') {
            out.push_back(L'%');
            rest.remove_prefix(1);
            continue;
        }
        while (!rest.empty() && isFlagOrWidth(rest.front())) {
            out.push_back(rest.front());
            rest.remove_prefix(1);
        }
        // Size prefixes: "h" narrow, "l" and "w" wide, "I64" 64-bit, "I32" 32-bit, "I" pointer size.
        wchar_t width = 0;
        if (rest.starts_with(L"I64")) {
            out += L"ll";
            rest.remove_prefix(3);
        } else if (rest.starts_with(L"I32")) {
            rest.remove_prefix(3);
        } else if (rest.starts_with(L"I")) {
            out += L"z";
            rest.remove_prefix(1);
        } else if (!rest.empty() && (rest.front() == L'h' || rest.front() == L'l' || rest.front() == L'w')) {
            width = rest.front();
            rest.remove_prefix(1);
        }
        if (rest.empty() || !isTextConversion(rest.front())) {
            if (width == L'w') width = L'l';
            if (width) out.push_back(width);
            continue;
        }
        const wchar_t conversion = rest.front();
        rest.remove_prefix(1);
        const bool upper = conversion == L'S' || conversion == L'C';
        const bool wide = width == L'l' || width == L'w' || (width == 0 && !upper);
        if (wide) out.push_back(L'l');
        out.push_back(upper ? static_cast<wchar_t>(conversion - L'S' + L's') : conversion);
    }
    return out;
}

std::wstring formatWide(const wchar_t* format, va_list arguments) {
    const std::wstring translated = translateWideFormat(format);
    wchar_t* buffer = nullptr;
    std::size_t length = 0;
    FILE* stream = open_wmemstream(&buffer, &length);
    if (!stream) return {};
    std::vfwprintf(stream, translated.c_str(), arguments);
    std::fclose(stream);
    std::wstring result(buffer, length);
    std::free(buffer);
    return result;
}

} // namespace services
