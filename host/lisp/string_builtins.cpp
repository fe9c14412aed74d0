// Strings: joining, cutting, case, numbers as text and back, characters, patterns, searching and trimming,
// values as text. Positions are 1-based in SUBSTR, 0-based in the VL-STRING- functions, as AutoLISP has it.
#include <algorithm>

#include "host/input/text_numbers.h"
#include "host/lisp/lisp_builtins.h"
#include "host/lisp/lisp_text.h"
#include "host/selection/wildcard.h"

namespace host {

namespace {

using Args = LispArgs;

// The longest start of `text` (after blanks) that is a number as `parse` reads it.
template <class Number, class Parse> Number leadingNumber(const std::wstring& text, Parse parse) {
    std::size_t start = text.find_first_not_of(L" \t");
    if (start == std::wstring::npos) return 0;
    Number value{};
    for (std::size_t end = text.size(); end > start; --end)
        if (parse(std::wstring_view(text).substr(start, end - start), value)) return value;
    return 0;
}

LispValue substring(const Args& a) {
    checkArity(a, 2, 3);
    const std::wstring& s = stringArgument(a[0]);
    int start = integerArgument(a[1]);
    if (start < 1) badArgument("fixnump positif", a[1]);
    auto from = static_cast<std::size_t>(start - 1);
    if (from >= s.size()) return LispValue::fromString(L"");
    std::size_t count = std::wstring::npos;
    if (a.size() > 2) {
        int n = integerArgument(a[2]);
        if (n < 0) badArgument("fixnump positif", a[2]);
        count = static_cast<std::size_t>(n);
    }
    return LispValue::fromString(s.substr(from, count));
}

// Case without the locale: ASCII and the accented letters of Windows-1252 (U+00C0 to U+00DE and their small
// forms, but the signs × and ÷), so that "é" and "É" pair up on any machine.
wchar_t upperCase(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 32);
    return c;
}

wchar_t lowerCase(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<wchar_t>(c + 32);
    return c;
}

LispValue changeCase(const Args& a) {
    checkArity(a, 1, 2);
    std::wstring s = stringArgument(a[0]);
    bool lower = a.size() > 1 && !a[1].isNil();
    for (wchar_t& c : s)
        c = lower ? lowerCase(c) : upperCase(c);
    return LispValue::fromString(std::move(s));
}

// The characters of `set` at either end of `s`.
LispValue trimmed(const Args& a, bool left, bool right) {
    checkArity(a, 2, 2);
    const std::wstring& set = stringArgument(a[0]);
    const std::wstring& s = stringArgument(a[1]);
    std::size_t begin = left ? s.find_first_not_of(set) : 0;
    if (begin == std::wstring::npos) return LispValue::fromString(L"");
    std::size_t end = right ? s.find_last_not_of(set) + 1 : s.size();
    return LispValue::fromString(s.substr(begin, end - begin));
}

// (VL-STRING-SEARCH pattern string [start]).
LispValue search(const Args& a) {
    checkArity(a, 2, 3);
    const std::wstring& pattern = stringArgument(a[0]);
    const std::wstring& s = stringArgument(a[1]);
    std::size_t start = a.size() > 2 ? static_cast<std::size_t>(std::max(0, integerArgument(a[2]))) : 0;
    std::size_t at = start <= s.size() ? s.find(pattern, start) : std::wstring::npos;
    return at == std::wstring::npos ? LispValue::nil() : LispValue::fromInteger(static_cast<long long>(at));
}

// (VL-STRING-SUBST new pattern string [start]): the first occurrence only.
LispValue substitute(const Args& a) {
    checkArity(a, 3, 4);
    const std::wstring& replacement = stringArgument(a[0]);
    const std::wstring& pattern = stringArgument(a[1]);
    std::wstring s = stringArgument(a[2]);
    std::size_t start = a.size() > 3 ? static_cast<std::size_t>(std::max(0, integerArgument(a[3]))) : 0;
    std::size_t at = start <= s.size() ? s.find(pattern, start) : std::wstring::npos;
    if (at != std::wstring::npos) s.replace(at, pattern.size(), replacement);
    return LispValue::fromString(std::move(s));
}

LispValue translate(const Args& a) {
    checkArity(a, 3, 3);
    const std::wstring& from = stringArgument(a[0]);
    const std::wstring& to = stringArgument(a[1]);
    std::wstring s = stringArgument(a[2]);
    for (wchar_t& c : s) {
        std::size_t i = from.find(c);
        if (i != std::wstring::npos && i < to.size()) c = to[i];
    }
    return LispValue::fromString(std::move(s));
}

// (VL-STRING-POSITION code string [start [from-end]]).
LispValue position(const Args& a) {
    checkArity(a, 2, 4);
    auto c = static_cast<wchar_t>(integerArgument(a[0]));
    const std::wstring& s = stringArgument(a[1]);
    std::size_t start = a.size() > 2 && !a[2].isNil() ? static_cast<std::size_t>(integerArgument(a[2])) : 0;
    bool fromEnd = a.size() > 3 && !a[3].isNil();
    std::size_t at =
        fromEnd ? s.rfind(c, a.size() > 2 && !a[2].isNil() ? start : std::wstring::npos) : s.find(c, start);
    return at == std::wstring::npos ? LispValue::nil() : LispValue::fromInteger(static_cast<long long>(at));
}

LispValue readText(const Args& a) {
    checkArity(a, 0, 1);
    if (a.empty()) return LispValue::nil();
    std::vector<LispValue> values = readLisp(stringArgument(a[0]));
    return values.empty() ? LispValue::nil() : values.front();
}

LispValue characters(const Args& a) {
    checkArity(a, 1, 1);
    std::vector<LispValue> codes;
    for (wchar_t c : stringArgument(a[0]))
        codes.push_back(LispValue::fromInteger(c));
    return listOf(std::move(codes));
}

LispValue fromCharacters(const Args& a) {
    checkArity(a, 1, 1);
    std::wstring s;
    for (const LispValue& code : listArgument(a[0]))
        s += static_cast<wchar_t>(integerArgument(code));
    return LispValue::fromString(std::move(s));
}

} // namespace

const LispBuiltinTable& stringBuiltins() {
    static const LispBuiltinTable table = {
        {L"STRCAT",
         [](const Args& a) {
             std::wstring s;
             for (const LispValue& v : a)
                 s += stringArgument(v);
             return LispValue::fromString(std::move(s));
         }},
        {L"SUBSTR", substring},
        {L"STRLEN",
         [](const Args& a) {
             std::size_t n = 0;
             for (const LispValue& v : a)
                 n += stringArgument(v).size();
             return LispValue::fromInteger(static_cast<long long>(n));
         }},
        {L"STRCASE", changeCase},
        {L"ITOA",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return LispValue::fromString(std::to_wstring(integerArgument(a[0])));
         }},
        {L"ATOI",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return wrappedInteger(leadingNumber<long long>(stringArgument(a[0]), parseInteger));
         }},
        {L"ATOF",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return LispValue::fromReal(leadingNumber<double>(stringArgument(a[0]), parseReal));
         }},
        {L"CHR",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return LispValue::fromString(std::wstring(1, static_cast<wchar_t>(integerArgument(a[0]))));
         }},
        {L"ASCII",
         [](const Args& a) {
             checkArity(a, 1, 1);
             const std::wstring& s = stringArgument(a[0]);
             return LispValue::fromInteger(s.empty() ? 0 : s[0]);
         }},
        {L"WCMATCH",
         [](const Args& a) {
             checkArity(a, 2, 2);
             return truth(acutWcMatch(stringArgument(a[0]).c_str(), stringArgument(a[1]).c_str()) == RTNORM);
         }},
        {L"READ", readText},
        {L"VL-STRING-SEARCH", search},
        {L"VL-STRING-SUBST", substitute},
        {L"VL-STRING-TRIM", [](const Args& a) { return trimmed(a, true, true); }},
        {L"VL-STRING-LEFT-TRIM", [](const Args& a) { return trimmed(a, true, false); }},
        {L"VL-STRING-RIGHT-TRIM", [](const Args& a) { return trimmed(a, false, true); }},
        {L"VL-STRING-TRANSLATE", translate},
        {L"VL-STRING-POSITION", position},
        {L"VL-PRINC-TO-STRING",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return LispValue::fromString(printLisp(a[0], false));
         }},
        {L"VL-PRIN1-TO-STRING",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return LispValue::fromString(printLisp(a[0], true));
         }},
        {L"VL-STRING->LIST", characters},
        {L"VL-LIST->STRING", fromCharacters},
    };
    return table;
}

} // namespace host
