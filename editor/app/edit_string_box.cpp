#include "editor/app/edit_string_box.h"

#include "editor/link/bus_window.h"
#include "platform/ui/message_box.h"
#include "services/dos/dos.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

namespace {

constexpr int kMargin = 5;
constexpr int kButtonGap = 10;
constexpr int kButtonRow = 25;

std::string upperCased(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace

CDialEditBox::CDialEditBox(const std::string& text, int limit, const char* title, int flags, const char* help,
                           const char* helpFile, QWidget* parent)
    : QDialog(parent), line_(new QLineEdit(this)), lines_(new QPlainTextEdit(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      help_(new QPushButton(QStringLiteral("A  I  D E"), this)), flags_(flags), helpText_(help ? help : ""),
      helpFile_(helpFile ? helpFile : "") {
    line_->setObjectName(QStringLiteral("1000"));
    lines_->setObjectName(QStringLiteral("1109"));
    help_->setObjectName(QStringLiteral("1001"));
    setWindowTitle(title && *title ? fromCodePage(title) : QStringLiteral("Saisie"));
    const bool multiLine = flags & kMultiLine;
    line_->setVisible(!multiLine);
    lines_->setVisible(multiLine);
    line_->setMaxLength(limit > 0 ? std::min(limit, kTextLimit) : kTextLimit);
    lines_->setLineWrapMode(flags & kAutoHorizontalScroll ? QPlainTextEdit::NoWrap
                                                          : QPlainTextEdit::WidgetWidth);
    const QString initial = fromCodePage(text).left(kTextLimit);
    if (multiLine)
        lines_->setPlainText(initial);
    else
        line_->setText(initial.left(line_->maxLength()));
    applyCase();
    connect(line_, &QLineEdit::textChanged, this, [this] { applyCase(); });
    connect(lines_, &QPlainTextEdit::textChanged, this, [this] { applyCase(); });
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(help_, &QPushButton::clicked, this, [this] { showHelp(); });
    resize(420, multiLine ? 240 : 90);
}

// Upper or lower case as the flags ask, and the multi-line field held to its limit; the caret stays.
void CDialEditBox::applyCase() {
    const auto cased = [this](const QString& text) {
        if (flags_ & kUpperCase) return text.toUpper();
        if (flags_ & kLowerCase) return text.toLower();
        return text;
    };
    if (line_->isVisibleTo(this)) {
        const QString wanted = cased(line_->text());
        if (wanted != line_->text()) {
            const int caret = line_->cursorPosition();
            line_->setText(wanted);
            line_->setCursorPosition(caret);
        }
        return;
    }
    const QString current = lines_->toPlainText();
    const QString wanted = cased(current).left(kTextLimit);
    if (wanted == current) return;
    const QSignalBlocker blocker(lines_);
    const int caret = std::min(lines_->textCursor().position(), static_cast<int>(wanted.size()));
    lines_->setPlainText(wanted);
    QTextCursor cursor = lines_->textCursor();
    cursor.setPosition(caret);
    lines_->setTextCursor(cursor);
}

std::string CDialEditBox::text() const {
    return toCodePage(line_->isVisibleTo(this) ? line_->text() : lines_->toPlainText());
}

void CDialEditBox::showHelp() {
    if (!helpText_.empty() && !helpFile_.empty())
        DOS::Aide(helpFile_.c_str(), upperCased(helpText_).c_str(), 0);
    else if (!helpText_.empty())
        platform::messageBox(0, helpText_.c_str(), toCodePage(windowTitle()).c_str(), platform::MB_OK);
}

void CDialEditBox::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int width = event->size().width();
    const int height = event->size().height();
    const int buttonTop = height - kButtonRow + 2;
    ok_->setGeometry(kMargin, buttonTop, ok_->sizeHint().width(), kButtonRow - 4);
    help_->setGeometry(ok_->geometry().right() + 1 + kButtonGap, buttonTop, help_->sizeHint().width(),
                       kButtonRow - 4);
    line_->setGeometry(kMargin, kMargin, width - 10, line_->sizeHint().height());
    lines_->setGeometry(kMargin, kMargin, width - 10, height - kButtonRow - kMargin);
}

int EditStringBox(std::string& text, int limit, const char* title, int flags, const char* help,
                  const char* helpFile, QWidget* parent) {
    CDialEditBox box(text, limit, title, flags, help, helpFile, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (box.exec() != QDialog::Accepted) return -1;
    text = box.text();
    return static_cast<int>(text.size());
}
