#include "host/input/keywords.h"

#include <cwctype>

#include "host/input/text_numbers.h"

namespace host {

namespace {

bool sameText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towupper(a[i]) != std::towupper(b[i])) return false;
    return true;
}

// What must be typed at least: the leading capitals and digits, or the capitals of a keyword that starts in
// lower case.
std::wstring abbreviation(std::wstring_view keyword) {
    std::wstring out;
    if (!keyword.empty() && std::iswlower(keyword[0])) {
        for (wchar_t c : keyword)
            if (std::iswupper(c)) out += c;
        return out;
    }
    for (wchar_t c : keyword) {
        if (std::iswlower(c)) break;
        out += c;
    }
    return out;
}

bool designates(std::wstring_view input, std::wstring_view keyword) {
    if (sameText(input, keyword)) return true;
    std::wstring abbrev = abbreviation(keyword);
    if (abbrev.empty()) return false;
    if (std::iswlower(keyword[0])) return sameText(input, abbrev);
    return input.size() >= abbrev.size() && input.size() <= keyword.size() &&
           sameText(input, keyword.substr(0, input.size()));
}

} // namespace

bool KeywordList::parse(const ACHAR* text, std::wstring& error) {
    m_keywords.clear();
    if (!text) return true;
    std::vector<std::wstring> all = words(text);
    std::vector<std::wstring> locals, globals;
    bool inGlobals = false;
    for (std::wstring& w : all) {
        if (w == L"_") {
            if (inGlobals) {
                error = L"a keyword list holds \"_\" twice";
                return false;
            }
            inGlobals = true;
            continue;
        }
        if (w.size() > kMaxKeywordLength) {
            error = L"the keyword \"" + w.substr(0, 20) + L"...\" is longer than " +
                    std::to_wstring(kMaxKeywordLength) + L" characters";
            return false;
        }
        (inGlobals ? globals : locals).push_back(std::move(w));
    }
    if (inGlobals && globals.size() != locals.size()) {
        error = L"a keyword list has " + std::to_wstring(locals.size()) + L" local and " +
                std::to_wstring(globals.size()) + L" global keywords";
        return false;
    }
    for (std::size_t i = 0; i < locals.size(); ++i)
        m_keywords.push_back({locals[i], inGlobals ? globals[i] : locals[i]});
    return true;
}

int KeywordList::find(std::wstring_view input) const {
    bool global = !input.empty() && input[0] == L'_';
    if (global) input.remove_prefix(1);
    if (input.empty()) return -1;
    auto formOf = [global](const Keyword& k) -> const std::wstring& { return global ? k.global : k.local; };
    // A whole keyword wins over another keyword's abbreviation.
    for (std::size_t i = 0; i < m_keywords.size(); ++i)
        if (sameText(input, formOf(m_keywords[i]))) return static_cast<int>(i);
    for (std::size_t i = 0; i < m_keywords.size(); ++i)
        if (designates(input, formOf(m_keywords[i]))) return static_cast<int>(i);
    return -1;
}

} // namespace host
