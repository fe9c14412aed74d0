#pragma once
// Keyword lists of prompts: "Local1 Local2 _ Global1 Global2". A user may type a keyword whole, or its
// abbreviation: the leading capitals and digits of a keyword that starts with a capital ("CCerc1": "CC",
// "Rect3": "R"), or the capitals of one that starts in lower case ("raBat3": "B"); case is ignored. An answer
// that starts with "_" is matched against the global keywords only. Either way the answer is reported as the
// global keyword, so that programs need not know the language of the user.
#include <string>
#include <string_view>
#include <vector>

#include "host/rx/adesk.h"

namespace host {

// Longest keyword a list may hold.
constexpr std::size_t kMaxKeywordLength = 131;

struct Keyword {
    std::wstring local;
    std::wstring global;
};

class KeywordList {
public:
    // Reads `text` (null or blank: no keywords). Without "_" each keyword is its own global form; with it the
    // two halves must have the same number of keywords. False with a message in `error` for a malformed list.
    bool parse(const ACHAR* text, std::wstring& error);
    bool empty() const { return m_keywords.empty(); }
    const std::vector<Keyword>& keywords() const { return m_keywords; }
    // 0-based position of the keyword that `input` designates, or -1.
    int find(std::wstring_view input) const;

private:
    std::vector<Keyword> m_keywords;
};

// The input restrictions (RSG_ flags) and keywords of one prompt or drag.
struct InitGet {
    int flags = 0;
    KeywordList keywords;
};

} // namespace host
