#pragma once
// The edit view of a document. On the bus it is an "Edit" window that answers the messages of an edit
// control (line count and index, selection, replacing and clearing, text and length, read-only, typed
// characters), with CR LF counted as two characters and code-page text at the edge, so that the library can
// write into it from another process; and the editor's own requests (wm_Tavro, wm_TavroMem, WM_COMMAND).
#include "editor/link/bus_window.h"

#include <QPlainTextEdit>

#include <functional>

class CPadDoc;
class EncodingGuard;
struct SplitFile;

class CPadView : public QPlainTextEdit {
    Q_OBJECT
public:
    CPadView(CPadDoc& document, platform::Hwnd childFrame);
    ~CPadView() override;

    platform::Hwnd handle() const { return bus_.handle(); }
    CPadDoc& padDocument() const { return document_; }
    // Shows a file's text with its line ends, as it was read; a long one piece by piece, telling `progress`
    // (when given) how far it came. False, with the view emptied, when `progress` stopped it.
    bool showFileText(const SplitFile& split, const std::function<bool(int done, int total)>& progress = {});
    // The document's title changed: the child frame shows it.
    void titleChanged();
    // Read-only, with the edit control's style bit kept in step.
    void setEditReadOnly(bool readOnly);
    // Saves a changed document that a caller waits for, ends its "Stop=" process and brings back its window.
    void validateAndReturn();

    // Tab stops in dialog units, 4 to a character.
    void setTabStops(int dialogUnits);
    int tabStops() const { return tabStops_; }
    // Wrapping at the window's width, with a horizontal scroll bar only without it; the text, font, caret,
    // tab stops, focus and bus handle stay as they are.
    void setWordWrap(bool wrap);
    bool wordWrap() const { return lineWrapMode() != QPlainTextEdit::NoWrap; }
    void setDisplayFont(const QFont& font);
    // "line/column" of the caret: the 1-based line and the 0-based column.
    QString positionText() const;
    // Moves the caret to a document position and shows it.
    void moveCaretTo(int position);

    std::int64_t onMessage(platform::Message& message);

signals:
    void titleShown(const QString& title);
    void positionShown(const QString& position);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::int64_t onEditMessage(platform::Message& message);
    void typeCharacter(unsigned char c);

    void showPosition();
    // Moves the caret. While other programs send edits in a row, the text is laid out, and the caret placed
    // and shown, once when the event loop next runs, instead of once each.
    void moveCaret(const QTextCursor& cursor);
    // Lays out and shows what edits in a row left pending.
    void placeCaret();

    CPadDoc& document_;
    EncodingGuard* guard_; // owned by the text document
    BusWindow bus_;
    QTextCursor caret_; // the caret that edits in a row left, null when none is pending
    int tabStops_ = 32;
};
