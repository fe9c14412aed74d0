#pragma once
// Replacing a series of words read from a file: each line "word!replacement" (the separator is chosen)
// replaces every occurrence of the word in the document.
#include <QTextDocument>

#include <string>
#include <string_view>

struct SeriesOptions {
    char separator = '!';
    bool caseSensitive = false;
    bool allowEmpty = false; // an empty replacement deletes the word
};

struct SeriesPair {
    std::string word;
    std::string replacement;
};

// The pair of one line: the word before the first separator, the replacement after it up to a line end or
// a second separator, trimmed of blanks when there is no second one; nothing for a line without a
// separator or with an empty word. Lines are taken up to 20,000 characters.
std::optional<SeriesPair> seriesPairOf(std::string_view line, char separator);
// Applies every line of `list` (code-page text) to the document as one undo step: a word found as it is
// written has its occurrences replaced, matched with or without case as `options` says; the replacements
// made.
int replaceSeries(QTextDocument& document, std::string_view list, const SeriesOptions& options);
