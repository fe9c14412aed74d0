#include "editor/document/edit_positions.h"

#include <QTextBlock>

std::int64_t editIndexOf(const QTextDocument& document, int position) {
    return position + document.findBlock(position).blockNumber();
}

int positionOf(const QTextDocument& document, std::int64_t index) {
    const int end = document.characterCount() - 1;
    if (index < 0) return end;
    // The last line that starts at or before `index`, by halves: a line starts at its position plus one CR
    // for each line before it, and the screen may hold thousands of lines.
    int first = 0;
    for (int last = document.blockCount() - 1; first < last;) {
        const int middle = first + (last - first + 1) / 2;
        if (document.findBlockByNumber(middle).position() + middle <= index)
            first = middle;
        else
            last = middle - 1;
    }
    const QTextBlock block = document.findBlockByNumber(first);
    const std::int64_t start = block.position() + first;
    const std::int64_t lineLength = block.length() - 1;
    if (index > start + lineLength + 1) return end;
    return block.position() + static_cast<int>(std::min(index - start, lineLength));
}

std::int64_t editLength(const QTextDocument& document) {
    return document.characterCount() - 1 + document.blockCount() - 1;
}

QString withoutCarriageReturns(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}
