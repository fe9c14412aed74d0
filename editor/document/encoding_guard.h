#pragma once
// Keeps a document's text within what its encoding can hold, so that no character is ever replaced on
// saving: when an edit brings in a character that the encoding lacks (typed, pasted, replaced), the user is
// asked, once the edit is over, whether the document is to be saved in UTF-8 from now on (the default, which
// keeps the text) or the characters refused (they are taken out again).
#include "editor/document/text_encoding.h"

#include <QObject>
#include <QTextDocument>

#include <functional>

// Yes when the user agrees to the document being saved in UTF-8 from now on, for character `code` that
// `encoding` cannot hold.
bool askToSaveAsUtf8(TextEncoding encoding, char32_t code);

class EncodingGuard : public QObject {
    Q_OBJECT
public:
    // `encoding` and `setEncoding` reach the document's encoding.
    EncodingGuard(QTextDocument& document, std::function<TextEncoding()> encoding,
                  std::function<void(TextEncoding)> setEncoding);
    // The text now in place is the file's own (just loaded): nothing in it is asked about.
    void accept() { pending_ = false; }

private:
    void noteChange(int position, int removed, int added);
    void check();
    void takeOut(int start, int end);
    QString textBetween(int start, int end) const;

    QTextDocument& document_;
    std::function<TextEncoding()> encoding_;
    std::function<void(TextEncoding)> setEncoding_;
    bool pending_ = false; // a check is queued for the edits in [start_, end_)
    int start_ = 0;
    int end_ = 0;
};
