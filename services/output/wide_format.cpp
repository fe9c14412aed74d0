#include "services/output/wide_format.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string_view>

#include "platform/base/code_page.h"

namespace services {

namespace {

// What one conversion takes from the arguments.
enum class Argument {
    None, // "%%", or a conversion this formatter does not know: printed as written
    Int,
    Long,
    LongLong,
    Size,
    IntMax,
    PtrDiff,
    Double,
    LongDouble,
    Pointer,
    WideText,
    NarrowText,
    WideChar,
    NarrowChar,
    Count, // "%n": Windows refuses it; its pointer is taken and nothing is written
};

// One conversion of a Windows wide format: the C library's spelling of it, the '*' widths and precisions
// that come before its value, and the kind of the value.
struct Conversion {
    std::wstring spec;
    int stars = 0;
    Argument argument = Argument::None;
};

bool isFlagOrWidth(wchar_t c) {
    return std::wstring_view(L"-+ #0123456789.*").find(c) != std::wstring_view::npos;
}

// Size prefixes: "h" and "hh" narrow, "l" and "w" wide, "ll" and "I64" 64-bit, "I32" 32-bit, "I", "z" the
// size of a pointer, "j" and "t" as in C, "L" a long double.
std::wstring_view takeSize(std::wstring_view& rest) {
    for (const std::wstring_view size :
         {L"I64", L"I32", L"hh", L"ll", L"I", L"h", L"l", L"w", L"z", L"j", L"t", L"L"}) {
        if (rest.starts_with(size)) {
            rest.remove_prefix(size.size());
            return size;
        }
    }
    return {};
}

Argument integerOfSize(std::wstring_view size, std::wstring& spec) {
    if (size == L"l") {
        spec += L"l";
        return Argument::Long;
    }
    if (size == L"ll" || size == L"I64" || size == L"L") {
        spec += L"ll";
        return Argument::LongLong;
    }
    if (size == L"I" || size == L"z") {
        spec += L"z";
        return Argument::Size;
    }
    if (size == L"j") {
        spec += L"j";
        return Argument::IntMax;
    }
    if (size == L"t") {
        spec += L"t";
        return Argument::PtrDiff;
    }
    if (size == L"h" || size == L"hh") spec += size;
    return Argument::Int;
}

// Parses the conversion after a '%' at the front of `rest`, consuming it.
Conversion takeConversion(std::wstring_view& rest) {
    const std::wstring_view whole = rest;
    Conversion c{L"%"};
    while (!rest.empty() && isFlagOrWidth(rest.front())) {
        if (rest.front() == L'*') ++c.stars;
        c.spec.push_back(rest.front());
        rest.remove_prefix(1);
    }
    const std::wstring_view size = takeSize(rest);
    if (rest.empty() || c.stars > 2) {
        c = {L"%" + std::wstring(whole)};
        return c;
    }
    const wchar_t conversion = rest.front();
    rest.remove_prefix(1);
    // In a wide format "%s" and "%c" are wide unless "h" makes them narrow; "%S" and "%C" are narrow unless
    // "l" or "w" makes them wide.
    const bool upper = conversion == L'S' || conversion == L'C';
    const bool narrow = size == L"h" || (upper && size != L"l" && size != L"w");
    switch (conversion) {
    case L'%':
        c = {L"%"};
        return c;
    case L's':
    case L'S':
        c.spec += L"ls";
        c.argument = narrow ? Argument::NarrowText : Argument::WideText;
        return c;
    case L'c':
    case L'C':
        c.spec += L"lc";
        c.argument = narrow ? Argument::NarrowChar : Argument::WideChar;
        return c;
    case L'd':
    case L'i':
    case L'o':
    case L'u':
    case L'x':
    case L'X':
        c.argument = integerOfSize(size, c.spec);
        break;
    case L'f':
    case L'F':
    case L'e':
    case L'E':
    case L'g':
    case L'G':
    case L'a':
    case L'A':
        c.argument = size == L"L" ? Argument::LongDouble : Argument::Double;
        if (size == L"L") c.spec += L"L";
        break;
    case L'p':
        c.argument = Argument::Pointer;
        break;
    case L'n':
        c.argument = Argument::Count;
        return c;
    default:
        c = {L"%" + std::wstring(whole.substr(0, whole.size() - rest.size()))};
        return c;
    }
    c.spec.push_back(conversion);
    return c;
}

// Narrow text of the code page as wide text, whatever the C library's locale.
std::wstring widened(const char* text) {
    std::wstring out;
    for (; *text; ++text)
        out.push_back(static_cast<wchar_t>(platform::cp1252ToUnicode(static_cast<unsigned char>(*text))));
    return out;
}

template <class Value> void put(FILE* stream, const Conversion& c, const int* stars, Value value) {
    if (c.stars == 0)
        std::fwprintf(stream, c.spec.c_str(), value);
    else if (c.stars == 1)
        std::fwprintf(stream, c.spec.c_str(), stars[0], value);
    else
        std::fwprintf(stream, c.spec.c_str(), stars[0], stars[1], value);
}

void putConversion(FILE* stream, const Conversion& c, va_list& arguments) {
    if (c.argument == Argument::None) {
        std::fputws(c.spec.c_str(), stream);
        return;
    }
    int stars[2] = {};
    for (int i = 0; i < c.stars; ++i)
        stars[i] = va_arg(arguments, int);
    switch (c.argument) {
    case Argument::Int:
        return put(stream, c, stars, va_arg(arguments, int));
    case Argument::Long:
        return put(stream, c, stars, va_arg(arguments, long));
    case Argument::LongLong:
        return put(stream, c, stars, va_arg(arguments, long long));
    case Argument::Size:
        return put(stream, c, stars, va_arg(arguments, std::size_t));
    case Argument::IntMax:
        return put(stream, c, stars, va_arg(arguments, std::intmax_t));
    case Argument::PtrDiff:
        return put(stream, c, stars, va_arg(arguments, std::ptrdiff_t));
    case Argument::Double:
        return put(stream, c, stars, va_arg(arguments, double));
    case Argument::LongDouble:
        return put(stream, c, stars, va_arg(arguments, long double));
    case Argument::Pointer:
        return put(stream, c, stars, va_arg(arguments, void*));
    case Argument::WideText: {
        const wchar_t* text = va_arg(arguments, const wchar_t*);
        return put(stream, c, stars, text ? text : L"(null)");
    }
    case Argument::NarrowText: {
        const char* text = va_arg(arguments, const char*);
        return put(stream, c, stars, text ? widened(text).c_str() : L"(null)");
    }
    case Argument::WideChar:
        return put(stream, c, stars, static_cast<wint_t>(va_arg(arguments, wint_t)));
    case Argument::NarrowChar: {
        const auto byte = static_cast<unsigned char>(va_arg(arguments, int));
        return put(stream, c, stars, static_cast<wint_t>(platform::cp1252ToUnicode(byte)));
    }
    case Argument::Count:
        va_arg(arguments, void*);
        return;
    case Argument::None:
        return;
    }
}

} // namespace

std::wstring formatWide(const wchar_t* format, va_list arguments) {
    wchar_t* buffer = nullptr;
    std::size_t length = 0;
    FILE* stream = open_wmemstream(&buffer, &length);
    if (!stream) return {};
    va_list rest;
    va_copy(rest, arguments);
    std::wstring_view text(format);
    while (!text.empty()) {
        const std::size_t percent = text.find(L'%');
        const std::wstring literal(text.substr(0, percent));
        std::fputws(literal.c_str(), stream);
        if (percent == std::wstring_view::npos) break;
        text.remove_prefix(percent + 1);
        putConversion(stream, takeConversion(text), rest);
    }
    va_end(rest);
    std::fclose(stream);
    std::wstring result(buffer, length);
    std::free(buffer);
    return result;
}

} // namespace services
