#pragma once
// Replacing every occurrence of a text in one pass over the lines: each line's new text is built once and
// written once, so that the work grows with the text rather than with the occurrences times the length of
// their line (a 5 MB line of 100,000 occurrences is one write, not 100,000 layouts of the whole line).
// Occurrences are those QTextDocument::find gives: within a line, one after another, a whole word bounded
// by characters that are no letter or digit.
#include <QTextDocument>

#include <functional>

// Told now and then how many of the lines are done; false stops the work.
using ProgressCheck = std::function<bool(int done, int total)>;

// Replaces as one undo step; the number replaced. When `progress` stops it, the document is left as it was
// and 0 is answered.
int replaceEvery(QTextDocument& document, const QString& text, const QString& replacement,
                 QTextDocument::FindFlags flags, const ProgressCheck& progress = {});
