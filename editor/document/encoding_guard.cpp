#include "editor/document/encoding_guard.h"

#include "platform/ui/message_box.h"

#include <QTextCursor>
#include <QTimer>

#include <cstdio>

using namespace platform;

bool askToSaveAsUtf8(TextEncoding encoding, char32_t code) {
    char question[300];
    std::snprintf(question, sizeof question,
                  "Le document est en %s, qui ne peut pas contenir le caract\xE8re U+%04X.\n"
                  "L'enregistrer d\xE9sormais en UTF-8 pour le garder ?\n"
                  "(Non : le caract\xE8re est refus\xE9.)",
                  encodingName(encoding), static_cast<unsigned>(code));
    return messageBox(0, question, "ZortaPad", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

EncodingGuard::EncodingGuard(QTextDocument& document, std::function<TextEncoding()> encoding,
                             std::function<void(TextEncoding)> setEncoding)
    : QObject(&document), document_(document), encoding_(std::move(encoding)),
      setEncoding_(std::move(setEncoding)) {
    connect(&document_, &QTextDocument::contentsChange, this, &EncodingGuard::noteChange);
}

// The question waits for the edit to end: a modal box inside the document's change would re-enter it.
void EncodingGuard::noteChange(int position, int removed, int added) {
    if (!pending_) {
        pending_ = true;
        start_ = position;
        end_ = position + added;
        QTimer::singleShot(0, this, &EncodingGuard::check);
        return;
    }
    if (position >= end_) {
        end_ = position + added;
        return;
    }
    start_ = std::min(start_, position);
    end_ = std::max(end_ + added - removed, position + added);
}

// Block breaks as line feeds: a selection shows them as paragraph separators, which no file holds.
QString EncodingGuard::textBetween(int start, int end) const {
    QTextCursor range(&document_);
    range.setPosition(start);
    range.setPosition(end, QTextCursor::KeepAnchor);
    return range.selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

void EncodingGuard::check() {
    if (!pending_) return;
    pending_ = false;
    const int last = document_.characterCount() - 1;
    const int start = std::clamp(start_, 0, last);
    const int end = std::clamp(end_, start, last);
    const QString text = textBetween(start, end);
    const qsizetype unheld = firstUnheldCharacter(text, encoding_());
    if (unheld < 0) return;
    const char32_t code = QStringView(text).mid(unheld).toUcs4().value(0);
    if (askToSaveAsUtf8(encoding_(), code))
        setEncoding_(TextEncoding::Utf8);
    else
        takeOut(start, end);
}

// From the end, so that the positions before stay where they are.
void EncodingGuard::takeOut(int start, int end) {
    const QString text = textBetween(start, end);
    QTextCursor edit(&document_);
    edit.beginEditBlock();
    for (qsizetype i = text.size(); i > 0;) {
        --i;
        const bool pair = i > 0 && text[i].isLowSurrogate() && text[i - 1].isHighSurrogate();
        const qsizetype from = pair ? i - 1 : i;
        if (!holdsText(text.mid(from, i + 1 - from), encoding_())) {
            edit.setPosition(start + static_cast<int>(from));
            edit.setPosition(start + static_cast<int>(i) + 1, QTextCursor::KeepAnchor);
            edit.removeSelectedText();
        }
        i = from;
    }
    edit.endEditBlock();
    pending_ = false;
}
