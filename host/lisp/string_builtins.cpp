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

LispValue substring(const std::wstring& s, int start, std::optional<int> length) {
    if (start < 1) badArgument("fixnump positif", LispValue::fromInteger(start));
    auto from = static_cast<std::size_t>(start - 1);
    if (from >= s.size()) return LispValue::fromString(L"");
    if (length && *length < 0) badArgument("fixnump positif", LispValue::fromInteger(*length));
    return LispValue::fromString(
        s.substr(from, length ? static_cast<std::size_t>(*length) : std::wstring::npos));
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

// (STRCASE string [lower]).
LispValue changeCase(std::wstring s, std::optional<LispValue> lower) {
    const bool toLower = lower && !lower->isNil();
    for (wchar_t& c : s)
        c = toLower ? lowerCase(c) : upperCase(c);
    return LispValue::fromString(std::move(s));
}

// The characters of `set` at either end of `s`.
LispBuiltin trimmed(bool left, bool right) {
    return lispFunction([left, right](const std::wstring& set, const std::wstring& s) {
        std::size_t begin = left ? s.find_first_not_of(set) : 0;
        if (begin == std::wstring::npos) return LispValue::fromString(L"");
        std::size_t end = right ? s.find_last_not_of(set) + 1 : s.size();
        return LispValue::fromString(s.substr(begin, end - begin));
    });
}

// Where `pattern` is first found in `s` from `start` (0 when none is given, and when negative).
std::size_t found(const std::wstring& pattern, const std::wstring& s, std::optional<int> start) {
    const auto from = static_cast<std::size_t>(std::max(0, start.value_or(0)));
    return from <= s.size() ? s.find(pattern, from) : std::wstring::npos;
}

// (VL-STRING-SEARCH pattern string [start]).
LispValue search(const std::wstring& pattern, const std::wstring& s, std::optional<int> start) {
    std::size_t at = found(pattern, s, start);
    return at == std::wstring::npos ? LispValue::nil() : LispValue::fromInteger(static_cast<long long>(at));
}

// (VL-STRING-SUBST new pattern string [start]): the first occurrence only.
LispValue substitute(const std::wstring& replacement, const std::wstring& pattern, std::wstring s,
                     std::optional<int> start) {
    std::size_t at = found(pattern, s, start);
    if (at != std::wstring::npos) s.replace(at, pattern.size(), replacement);
    return LispValue::fromString(std::move(s));
}

LispValue translate(const std::wstring& from, const std::wstring& to, std::wstring s) {
    for (wchar_t& c : s) {
        std::size_t i = from.find(c);
        if (i != std::wstring::npos && i < to.size()) c = to[i];
    }
    return LispValue::fromString(std::move(s));
}

// (VL-STRING-POSITION code string [start [from-end]]): a start given as nil is none.
LispValue position(int code, const std::wstring& s, std::optional<LispValue> start,
                   std::optional<LispValue> fromEnd) {
    const auto c = static_cast<wchar_t>(code);
    const bool startGiven = start && !start->isNil();
    const std::size_t from = startGiven ? static_cast<std::size_t>(integerArgument(*start)) : 0;
    std::size_t at =
        fromEnd && !fromEnd->isNil() ? s.rfind(c, startGiven ? from : std::wstring::npos) : s.find(c, from);
    return at == std::wstring::npos ? LispValue::nil() : LispValue::fromInteger(static_cast<long long>(at));
}

LispValue readText(std::optional<std::wstring> text) {
    if (!text) return LispValue::nil();
    std::vector<LispValue> values = readLisp(*text);
    return values.empty() ? LispValue::nil() : values.front();
}

LispValue characters(const std::wstring& s) {
    std::vector<LispValue> codes;
    for (wchar_t c : s)
        codes.push_back(LispValue::fromInteger(c));
    return listOf(std::move(codes));
}

LispValue fromCharacters(const LispValue& list) {
    std::wstring s;
    for (const LispValue& code : listArgument(list))
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
        {L"SUBSTR", lispFunction(substring)},
        {L"STRLEN",
         [](const Args& a) {
             std::size_t n = 0;
             for (const LispValue& v : a)
                 n += stringArgument(v).size();
             return LispValue::fromInteger(static_cast<long long>(n));
         }},
        {L"STRCASE", lispFunction(changeCase)},
        {L"ITOA", lispFunction([](int n) { return LispValue::fromString(std::to_wstring(n)); })},
        {L"ATOI", lispFunction([](const std::wstring& s) {
             return wrappedInteger(leadingNumber<long long>(s, parseInteger));
         })},
        {L"ATOF", lispFunction([](const std::wstring& s) {
             return LispValue::fromReal(leadingNumber<double>(s, parseReal));
         })},
        {L"CHR", lispFunction([](int code) {
             return LispValue::fromString(std::wstring(1, static_cast<wchar_t>(code)));
         })},
        {L"ASCII",
         lispFunction([](const std::wstring& s) { return LispValue::fromInteger(s.empty() ? 0 : s[0]); })},
        {L"WCMATCH", lispFunction([](const std::wstring& s, const std::wstring& pattern) {
             return truth(acutWcMatch(s.c_str(), pattern.c_str()) == RTNORM);
         })},
        {L"READ", lispFunction(readText)},
        {L"VL-STRING-SEARCH", lispFunction(search)},
        {L"VL-STRING-SUBST", lispFunction(substitute)},
        {L"VL-STRING-TRIM", trimmed(true, true)},
        {L"VL-STRING-LEFT-TRIM", trimmed(true, false)},
        {L"VL-STRING-RIGHT-TRIM", trimmed(false, true)},
        {L"VL-STRING-TRANSLATE", lispFunction(translate)},
        {L"VL-STRING-POSITION", lispFunction(position)},
        {L"VL-PRINC-TO-STRING",
         lispFunction([](const LispValue& v) { return LispValue::fromString(printLisp(v, false)); })},
        {L"VL-PRIN1-TO-STRING",
         lispFunction([](const LispValue& v) { return LispValue::fromString(printLisp(v, true)); })},
        {L"VL-STRING->LIST", lispFunction(characters)},
        {L"VL-LIST->STRING", lispFunction(fromCharacters)},
    };
    return table;
}

} // namespace host
