#include "editor/document/pad_view.h"

#include "editor/app/the_app.h"
#include "editor/document/edit_positions.h"
#include "editor/document/encoding_guard.h"
#include "editor/document/line_ends.h"
#include "editor/document/pad_doc.h"
#include "platform/windows/process_memory.h"
#include "services/dos/dos.h"
#include "services/output/pad_mem_record.h"
#include "services/startup/window_messages.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTimer>

using namespace platform;

namespace {

constexpr std::int32_t kTitleLimit = 999;

std::uint64_t lowAndHighWord(std::int64_t low, std::int64_t high) {
    const auto word = [](std::int64_t value) {
        return static_cast<std::uint64_t>(std::min<std::int64_t>(value, 0xFFFF));
    };
    return word(low) | (word(high) << 16);
}

} // namespace

CPadView::CPadView(CPadDoc& document, Hwnd childFrame)
    : document_(document), guard_(new EncodingGuard(
                               *QPlainTextEdit::document(), [this] { return document_.encoding(); },
                               [this](TextEncoding encoding) { document_.setEncoding(encoding); })) {
    document_.view = this;
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabStops(tabStops_);
    bus_.create({"Edit", "", childFrame, 0, WS_VISIBLE},
                [this](Message& message) { return onMessage(message); });
}

CPadView::~CPadView() {
    validateAndReturn();
    document_.view = nullptr;
}

// Pieces of about a megabyte, cut after a line end, so that a long file shows its progress.
bool CPadView::showFileText(const SplitFile& split,
                            const std::function<bool(int done, int total)>& progress) {
    constexpr qsizetype kPiece = 1 << 20;
    const qsizetype total = split.text.size();
    if (!progress || total <= kPiece) {
        setPlainText(split.text);
    } else {
        clear();
        document()->setUndoRedoEnabled(false);
        QTextCursor end(document());
        for (qsizetype from = 0; from < total;) {
            const qsizetype cut = split.text.indexOf(u'\n', std::min(from + kPiece, total - 1));
            const qsizetype to = cut < 0 ? total : cut + 1;
            end.insertText(QStringView(split.text).mid(from, to - from).toString());
            from = to;
            if (!progress(static_cast<int>(from >> 10), static_cast<int>(total >> 10))) {
                clear();
                document()->setUndoRedoEnabled(true);
                return false;
            }
        }
        document()->setUndoRedoEnabled(true);
        moveCaretTo(0);
    }
    markLineEnds(*document(), split.ends);
    guard_->accept();
    return true;
}

void CPadView::titleChanged() {
    emit titleShown(document_.title());
}

void CPadView::setEditReadOnly(bool readOnly) {
    setReadOnly(readOnly);
    bus_.setStyle(ES_READONLY, readOnly);
}

void CPadView::focusInEvent(QFocusEvent* event) {
    if (bus_.handle()) window_table::setFocus(bus_.handle());
    QPlainTextEdit::focusInEvent(event);
}

void CPadView::setTabStops(int dialogUnits) {
    tabStops_ = dialogUnits;
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char('x')) * dialogUnits / 4.0);
}

void CPadView::setWordWrap(bool wrap) {
    setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

void CPadView::setDisplayFont(const QFont& font) {
    setFont(font);
    setTabStops(tabStops_);
}

QString CPadView::positionText() const {
    const QTextCursor cursor = textCursor();
    return QStringLiteral("%1/%2").arg(cursor.blockNumber() + 1).arg(cursor.positionInBlock());
}

void CPadView::moveCaretTo(int position) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(position, 0, document()->characterCount() - 1));
    setTextCursor(cursor);
    ensureCursorVisible();
    showPosition();
}

void CPadView::showPosition() {
    emit positionShown(positionText());
}

void CPadView::keyPressEvent(QKeyEvent* event) {
    QPlainTextEdit::keyPressEvent(event);
    showPosition();
}

void CPadView::keyReleaseEvent(QKeyEvent* event) {
    QPlainTextEdit::keyReleaseEvent(event);
    showPosition();
}

// The left button places the caret; the right one brings the view's frame to the top.
void CPadView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            frame->raise();
            if (frame->mdiArea()) frame->mdiArea()->setActiveSubWindow(frame);
        }
        return;
    }
    QPlainTextEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) showPosition();
}

void CPadView::validateAndReturn() {
    CPadDoc& doc = document_;
    if (doc.isModified() && (doc.stopProcess() || doc.returnWindow) && !doc.path.empty()) doc.save(doc.path);
    doc.endStopProcess();
    if (doc.returnWindow && window_table::isWindow(doc.returnWindow)) MyForegroundWindow(doc.returnWindow);
    doc.returnWindow = 0;
}

void CPadView::typeCharacter(unsigned char c) {
    if (isReadOnly()) return;
    QTextCursor cursor = textCursor();
    if (c == 8)
        cursor.deletePreviousChar();
    else
        cursor.insertText(c == '\r' ? QStringLiteral("\n")
                                    : fromCodePage(std::string(1, static_cast<char>(c))));
    setTextCursor(cursor);
}

void CPadView::moveCaret(const QTextCursor& cursor) {
    if (caret_.isNull()) {
        QTextCursor(document()).beginEditBlock();
        QTimer::singleShot(0, this, [this] { placeCaret(); });
    }
    caret_ = cursor;
}

void CPadView::placeCaret() {
    if (caret_.isNull()) return;
    const QTextCursor caret = std::exchange(caret_, QTextCursor());
    QTextCursor(document()).endEditBlock();
    setTextCursor(caret);
}

std::int64_t CPadView::onEditMessage(Message& message) {
    const QTextDocument& text = *document();
    QTextCursor cursor = caret_.isNull() ? textCursor() : caret_;
    switch (message.id) {
    case EM_GETLINECOUNT:
        return text.blockCount();
    case EM_LINEINDEX: {
        const auto line = static_cast<std::int64_t>(message.wParam);
        const QTextBlock block =
            line == -1 ? cursor.block()
                       : text.findBlockByNumber(static_cast<int>(std::min<std::int64_t>(line, INT32_MAX)));
        return block.isValid() ? block.position() + block.blockNumber() : -1;
    }
    case EM_SETSEL: {
        const auto start = static_cast<std::int64_t>(message.wParam);
        if (start == -1) {
            cursor.clearSelection();
        } else {
            cursor.setPosition(positionOf(text, start));
            cursor.setPosition(positionOf(text, message.lParam), QTextCursor::KeepAnchor);
        }
        moveCaret(cursor);
        return 1;
    }
    case EM_GETSEL:
        return static_cast<std::int64_t>(lowAndHighWord(editIndexOf(text, cursor.selectionStart()),
                                                        editIndexOf(text, cursor.selectionEnd())));
    case EM_REPLACESEL:
        cursor.insertText(withoutCarriageReturns(fromCodePage(message.text)));
        moveCaret(cursor);
        return 0;
    case EM_SETREADONLY:
        setEditReadOnly(message.wParam != 0);
        return 1;
    case WM_CLEAR:
        if (!isReadOnly()) cursor.removeSelectedText();
        return 0;
    case WM_GETTEXTLENGTH:
        return editLength(text);
    case WM_GETTEXT: {
        const std::string all = toCodePage(joinedText(text, QStringLiteral("\r\n")));
        message.text = all.substr(0, message.wParam > 0 ? message.wParam - 1 : 0);
        return static_cast<std::int64_t>(message.text.size());
    }
    case WM_SETTEXT:
        setPlainText(withoutCarriageReturns(fromCodePage(message.text)));
        return 1;
    case WM_CHAR:
        typeCharacter(static_cast<unsigned char>(message.wParam));
        return 0;
    default:
        return defWindowProc(message);
    }
}

std::int64_t CPadView::onMessage(Message& message) {
    // Only the messages of an append leave the text and the caret pending: any other sees them in place.
    const std::uint32_t id = message.id;
    if (id != EM_SETSEL && id != EM_REPLACESEL && id != EM_GETLINECOUNT && id != WM_GETTEXTLENGTH)
        placeCaret();
    if (message.id == wm_Tavro) return message.wParam == 1 ? CTheApp::instance().lineLimit() : 0;
    if (message.id == wm_TavroMem) {
        // A title suffix for this document, read from the sender while it waits.
        const auto sender = static_cast<pid_t>(message.wParam);
        PadMemRecord record{};
        if (!readProcessMemory(sender, static_cast<std::uint64_t>(message.lParam), &record, sizeof record) ||
            record.kind != kPadTitle || record.length < 0)
            return 0;
        std::string suffix(static_cast<std::size_t>(std::min(record.length, kTitleLimit)), '\0');
        if (!readProcessMemory(sender, record.address, suffix.data(), suffix.size())) return 0;
        document_.titleSuffix = suffix;
        document_.SetTitle(document_.title());
        return 0;
    }
    if (message.id == WM_COMMAND)
        return CTheApp::instance().routeCommand(static_cast<int>(message.wParam & 0xFFFF), this);
    return onEditMessage(message);
}
