#pragma once
// An edit control counts a line break as two characters (CR LF); Qt's document counts one. These translate
// between the two, so that the messages of an edit control see the text as the edit control holds it.
#include <QString>
#include <QTextDocument>

#include <cstdint>

// The edit control's index of a document position.
std::int64_t editIndexOf(const QTextDocument& document, int position);
// The document position of an edit control's index; an index between a CR and its LF is the line's end, an
// index past the end or negative is the end.
int positionOf(const QTextDocument& document, std::int64_t index);
// The edit control's length of the whole text.
std::int64_t editLength(const QTextDocument& document);
// Text with any breaks as the document holds it.
QString withoutCarriageReturns(QString text);
