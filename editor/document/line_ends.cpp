#include "editor/document/line_ends.h"

#include <QTextBlock>

#include <optional>

namespace {

constexpr char16_t kFrameStart = 0xFDD0;
constexpr char16_t kFrameEnd = 0xFDD1;

QStringView terminatorText(LineEnd end) {
    static const char16_t kParagraph[] = {QChar::ParagraphSeparator, 0};
    static const char16_t kStart[] = {kFrameStart, 0};
    static const char16_t kEnd[] = {kFrameEnd, 0};
    switch (end) {
    case LineEnd::Lf:
        return u"\n";
    case LineEnd::Cr:
        return u"\r";
    case LineEnd::Paragraph:
        return kParagraph;
    case LineEnd::FrameStart:
        return kStart;
    case LineEnd::FrameEnd:
        return kEnd;
    default:
        return u"\r\n";
    }
}

// The terminator at `text[at]`, if one starts there.
std::optional<LineEnd> terminatorAt(const QString& text, qsizetype at) {
    switch (text[at].unicode()) {
    case u'\n':
        return LineEnd::Lf;
    case u'\r':
        return at + 1 < text.size() && text[at + 1] == u'\n' ? LineEnd::CrLf : LineEnd::Cr;
    case QChar::ParagraphSeparator:
        return LineEnd::Paragraph;
    case kFrameStart:
        return LineEnd::FrameStart;
    case kFrameEnd:
        return LineEnd::FrameEnd;
    default:
        return std::nullopt;
    }
}

bool isLineBreak(LineEnd end) {
    return end == LineEnd::CrLf || end == LineEnd::Lf || end == LineEnd::Cr;
}

} // namespace

SplitFile splitFile(const QString& text) {
    SplitFile split;
    split.text.reserve(text.size());
    bool firstSeen = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::optional<LineEnd> end = terminatorAt(text, i);
        if (!end) {
            split.text += text[i];
            continue;
        }
        if (*end == LineEnd::CrLf) ++i;
        if (!firstSeen && isLineBreak(*end)) {
            split.first = *end;
            firstSeen = true;
        }
        split.ends.push_back(*end);
        split.text += u'\n';
    }
    return split;
}

void markLineEnds(QTextDocument& document, const std::vector<LineEnd>& ends) {
    std::size_t line = 0;
    for (QTextBlock block = document.begin(); block.isValid() && line < ends.size(); block = block.next())
        block.setUserState(static_cast<int>(ends[line++]));
}

QString fileText(const QTextDocument& document, LineEnd newLine) {
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        text += block.text();
        if (!block.next().isValid()) break;
        const int state = block.userState();
        const bool own =
            state >= static_cast<int>(LineEnd::CrLf) && state <= static_cast<int>(LineEnd::FrameEnd);
        text += terminatorText(own ? static_cast<LineEnd>(state) : newLine);
    }
    return text;
}

QString joinedText(const QTextDocument& document, const QString& separator) {
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) text += separator;
        text += block.text();
    }
    return text;
}
