#pragma once
// Files keep their bytes: each line's own terminator (CR LF, LF, CR, or none after the last line) is kept
// per block of the view's document, since Qt folds every terminator into a block break, and written back
// as it was. A block made by typing has none of its own and takes the file's first terminator. The other
// characters that Qt takes for a block break (the paragraph separator and its frame marks) are terminators
// of their own kinds, so that they too come back where they were.
#include <QString>
#include <QTextDocument>

#include <vector>

enum class LineEnd : int {
    Default = -1,
    CrLf = 1,
    Lf = 2,
    Cr = 3,
    Paragraph = 4,
    FrameStart = 5,
    FrameEnd = 6
};

struct SplitFile {
    QString text;                  // the lines joined by '\n'
    std::vector<LineEnd> ends;     // one per line but the last, which has no terminator of its own
    LineEnd first = LineEnd::CrLf; // the file's first CR LF, LF or CR; CR LF for a file without one
};

// Splits a file's text into lines and their terminators.
SplitFile splitFile(const QString& text);
// Marks each block of `document` (holding `split.text`) with its terminator.
void markLineEnds(QTextDocument& document, const std::vector<LineEnd>& ends);
// The text of the file: each block's text and its own terminator, or `newLine` for a block without one;
// nothing after the last block.
QString fileText(const QTextDocument& document, LineEnd newLine);
// The text of the document with `separator` between blocks, every character as it stands (the document's
// own plain text turns no-break spaces into spaces).
QString joinedText(const QTextDocument& document, const QString& separator);
