#include "editor/document/find_dialog.h"

#include "editor/app/work_progress.h"
#include "editor/document/replace_every.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QTextDocument::FindFlags flagsOf(const FindRequest& request) {
    QTextDocument::FindFlags flags;
    if (request.caseSensitive) flags |= QTextDocument::FindCaseSensitively;
    if (request.wholeWord) flags |= QTextDocument::FindWholeWords;
    if (request.upward) flags |= QTextDocument::FindBackward;
    return flags;
}

// A selection within one line is what the user most likely wants to find.
QString offeredText(const QPlainTextEdit& view, const FindRequest& last) {
    const QString selected = view.textCursor().selectedText();
    return selected.isEmpty() || selected.contains(QChar::ParagraphSeparator) ? last.text : selected;
}

} // namespace

FindDialog::FindDialog(QPlainTextEdit& view, const FindRequest& last, bool replacing, QWidget* parent)
    : QDialog(parent), view_(view) {
    setWindowTitle(replacing ? QStringLiteral("Remplacer") : QStringLiteral("Rechercher"));
    auto* grid = new QGridLayout(this);
    text_ = new QLineEdit(offeredText(view, last), this);
    grid->addWidget(new QLabel(QStringLiteral("Rechercher :"), this), 0, 0);
    grid->addWidget(text_, 0, 1);
    int row = 1;
    if (replacing) {
        replacement_ = new QLineEdit(last.replacement, this);
        grid->addWidget(new QLabel(QStringLiteral("Remplacer par :"), this), row, 0);
        grid->addWidget(replacement_, row++, 1);
    }
    wholeWord_ = new QCheckBox(QStringLiteral("Mot entier uniquement"), this);
    case_ = new QCheckBox(QStringLiteral("Respecter la casse"), this);
    wholeWord_->setChecked(last.wholeWord);
    case_->setChecked(last.caseSensitive);
    auto* options = new QVBoxLayout;
    options->addWidget(wholeWord_);
    options->addWidget(case_);
    options->addStretch();
    auto* choices = new QHBoxLayout;
    choices->addLayout(options);
    if (!replacing) {
        auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
        auto* directions = new QHBoxLayout(direction);
        up_ = new QRadioButton(QStringLiteral("Haut"), direction);
        auto* down = new QRadioButton(QStringLiteral("Bas"), direction);
        (last.upward ? up_ : down)->setChecked(true);
        directions->addWidget(up_);
        directions->addWidget(down);
        choices->addWidget(direction);
    }
    grid->addLayout(choices, row, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(addButton(QStringLiteral("Suivant"), &FindDialog::findNextOne));
    if (replacing) {
        buttons->addWidget(addButton(QStringLiteral("Remplacer"), &FindDialog::replaceOne));
        buttons->addWidget(addButton(QStringLiteral("Remplacer tout"), &FindDialog::replaceEvery));
    }
    auto* cancel = new QPushButton(QStringLiteral("Annuler"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, row + 1, 1);

    actions_.front()->setDefault(true);
    const auto enableActions = [this] {
        for (QPushButton* button : actions_)
            button->setEnabled(!text_->text().isEmpty());
    };
    connect(text_, &QLineEdit::textChanged, this, enableActions);
    enableActions();
}

QPushButton* FindDialog::addButton(const QString& caption, void (FindDialog::*act)()) {
    auto* button = new QPushButton(caption, this);
    connect(button, &QPushButton::clicked, this, act);
    actions_.push_back(button);
    return button;
}

FindRequest FindDialog::request() const {
    return {text_->text(), replacement_ ? replacement_->text() : QString(), case_->isChecked(),
            wholeWord_->isChecked(), up_ && up_->isChecked()};
}

void FindDialog::findNextOne() {
    if (!findNext(view_, request())) QApplication::beep();
}

void FindDialog::replaceOne() {
    if (!replaceNext(view_, request())) QApplication::beep();
}

void FindDialog::replaceEvery() {
    replaceAll(view_, request());
}

bool findNext(QPlainTextEdit& view, const FindRequest& request) {
    if (request.text.isEmpty()) return false;
    const QTextDocument& document = *view.document();
    QTextCursor found = document.find(request.text, view.textCursor(), flagsOf(request));
    if (found.isNull())
        found = document.find(request.text, request.upward ? document.characterCount() : 0, flagsOf(request));
    if (found.isNull()) return false;
    view.setTextCursor(found);
    return true;
}

bool replaceNext(QPlainTextEdit& view, const FindRequest& request) {
    if (request.text.isEmpty() || view.isReadOnly()) return false;
    QTextCursor selection = view.textCursor();
    const Qt::CaseSensitivity sensitivity = request.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (selection.hasSelection() && selection.selectedText().compare(request.text, sensitivity) == 0) {
        selection.insertText(request.replacement);
        view.setTextCursor(selection);
    }
    FindRequest forward = request;
    forward.upward = false;
    return findNext(view, forward);
}

int replaceAll(QPlainTextEdit& view, const FindRequest& request) {
    if (request.text.isEmpty() || view.isReadOnly()) return 0;
    WorkProgress progress(QStringLiteral("Remplacement de \u00ab %1 \u00bb").arg(request.text), &view);
    return replaceEvery(*view.document(), request.text, request.replacement, flagsOf(request),
                        [&](int done, int total) { return progress.report(done, total); });
}
