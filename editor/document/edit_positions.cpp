#include "editor/document/edit_positions.h"

#include <QTextBlock>

std::int64_t editIndexOf(const QTextDocument& document, int position) {
    return position + document.findBlock(position).blockNumber();
}

int positionOf(const QTextDocument& document, std::int64_t index) {
    const int end = document.characterCount() - 1;
    if (index < 0) return end;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const std::int64_t start = block.position() + block.blockNumber();
        const std::int64_t lineLength = block.length() - 1;
        if (index <= start + lineLength + 1)
            return block.position() + static_cast<int>(std::min(index - start, lineLength));
    }
    return end;
}

std::int64_t editLength(const QTextDocument& document) {
    return document.characterCount() - 1 + document.blockCount() - 1;
}

QString withoutCarriageReturns(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}
