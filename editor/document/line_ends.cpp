#include "editor/document/line_ends.h"

#include "editor/link/bus_window.h"

#include <QTextBlock>

namespace {

std::string_view terminatorBytes(LineEnd end) {
    switch (end) {
    case LineEnd::Lf:
        return "\n";
    case LineEnd::Cr:
        return "\r";
    default:
        return "\r\n";
    }
}

} // namespace

SplitFile splitFile(std::string_view bytes) {
    SplitFile split;
    std::string joined;
    joined.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            joined += c;
            continue;
        }
        LineEnd end = LineEnd::Lf;
        if (c == '\r') {
            end = i + 1 < bytes.size() && bytes[i + 1] == '\n' ? LineEnd::CrLf : LineEnd::Cr;
            if (end == LineEnd::CrLf) ++i;
        }
        if (split.ends.empty()) split.first = end;
        split.ends.push_back(end);
        joined += '\n';
    }
    split.text = fromCodePage(joined);
    return split;
}

void markLineEnds(QTextDocument& document, const std::vector<LineEnd>& ends) {
    std::size_t line = 0;
    for (QTextBlock block = document.begin(); block.isValid() && line < ends.size(); block = block.next())
        block.setUserState(static_cast<int>(ends[line++]));
}

std::string documentBytes(const QTextDocument& document, LineEnd newLine) {
    std::string bytes;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        bytes += toCodePage(block.text());
        if (!block.next().isValid()) break;
        const int state = block.userState();
        const bool own = state == static_cast<int>(LineEnd::CrLf) || state == static_cast<int>(LineEnd::Lf) ||
                         state == static_cast<int>(LineEnd::Cr);
        bytes += terminatorBytes(own ? static_cast<LineEnd>(state) : newLine);
    }
    return bytes;
}

QString joinedText(const QTextDocument& document, const QString& separator) {
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) text += separator;
        text += block.text();
    }
    return text;
}
