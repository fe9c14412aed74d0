#include "editor/document/replace_every.h"

#include <QTextBlock>
#include <QTextCursor>

#include <vector>

namespace {

// How many lines go between two reports of the progress.
constexpr int kLinesPerReport = 4096;

struct ChangedLine {
    int number;
    QString text;
};

bool isWholeWord(const QString& line, qsizetype at, qsizetype length) {
    const qsizetype end = at + length;
    return (at == 0 || !line[at - 1].isLetterOrNumber()) &&
           (end == line.size() || !line[end].isLetterOrNumber());
}

// The line with its occurrences replaced, or a null string when it has none.
QString replacedLine(const QString& line, const QString& text, const QString& replacement,
                     QTextDocument::FindFlags flags, int& count) {
    const Qt::CaseSensitivity sensitivity =
        flags & QTextDocument::FindCaseSensitively ? Qt::CaseSensitive : Qt::CaseInsensitive;
    // As the document's own search, a no-break space is found as a space.
    QString searched = line;
    searched.replace(QChar::Nbsp, u' ');
    QString result;
    qsizetype copied = 0;
    for (qsizetype at = searched.indexOf(text, 0, sensitivity); at >= 0;
         at = searched.indexOf(text, at, sensitivity)) {
        if ((flags & QTextDocument::FindWholeWords) && !isWholeWord(searched, at, text.size())) {
            ++at;
            continue;
        }
        result += QStringView(line).mid(copied, at - copied);
        result += replacement;
        at += text.size();
        copied = at;
        ++count;
    }
    if (copied == 0) return {};
    result += QStringView(line).mid(copied);
    return result;
}

void writeLines(QTextDocument& document, const std::vector<ChangedLine>& changes) {
    QTextCursor edit(&document);
    edit.beginEditBlock();
    for (const ChangedLine& change : changes) {
        QTextCursor line(document.findBlockByNumber(change.number));
        line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        line.insertText(change.text);
    }
    edit.endEditBlock();
}

} // namespace

// The new lines are all found before the first is written, so that a stop leaves the text untouched.
int replaceEvery(QTextDocument& document, const QString& text, const QString& replacement,
                 QTextDocument::FindFlags flags, const ProgressCheck& progress) {
    if (text.isEmpty()) return 0;
    flags &= ~QTextDocument::FindBackward;
    const int total = document.blockCount();
    int replaced = 0;
    std::vector<ChangedLine> changes;
    int done = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next(), ++done) {
        if (progress && done % kLinesPerReport == 0 && !progress(done, total)) return 0;
        QString line = replacedLine(block.text(), text, replacement, flags, replaced);
        if (!line.isNull()) changes.push_back({block.blockNumber(), std::move(line)});
    }
    if (!changes.empty()) writeLines(document, changes);
    return replaced;
}
