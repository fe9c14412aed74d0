#include "editor/document/find_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QTextDocument::FindFlags flagsOf(const FindRequest& request) {
    return request.caseSensitive ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags();
}

} // namespace

FindDialog::FindDialog(const FindRequest& last, bool replacing, QWidget* parent) : QDialog(parent) {
    setWindowTitle(replacing ? QStringLiteral("Remplacer") : QStringLiteral("Rechercher"));
    auto* form = new QFormLayout(this);
    text_ = new QLineEdit(last.text, this);
    form->addRow(QStringLiteral("Rechercher :"), text_);
    if (replacing) {
        replacement_ = new QLineEdit(last.replacement, this);
        form->addRow(QStringLiteral("Remplacer par :"), replacement_);
    }
    case_ = new QCheckBox(QStringLiteral("Respecter la casse"), this);
    case_->setChecked(last.caseSensitive);
    form->addRow(case_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)
        ->setText(replacing ? QStringLiteral("Remplacer tout") : QStringLiteral("Suivant"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

FindRequest FindDialog::request() const {
    return {text_->text(), replacement_ ? replacement_->text() : QString(), case_->isChecked()};
}

bool findNext(QPlainTextEdit& view, const FindRequest& request) {
    if (request.text.isEmpty()) return false;
    const QTextDocument& document = *view.document();
    QTextCursor found = document.find(request.text, view.textCursor(), flagsOf(request));
    if (found.isNull()) found = document.find(request.text, 0, flagsOf(request));
    if (found.isNull()) return false;
    view.setTextCursor(found);
    return true;
}

int replaceAll(QPlainTextEdit& view, const FindRequest& request) {
    if (request.text.isEmpty() || view.isReadOnly()) return 0;
    QTextDocument& document = *view.document();
    QTextCursor edit(&document);
    edit.beginEditBlock();
    int replaced = 0;
    for (QTextCursor found = document.find(request.text, 0, flagsOf(request)); !found.isNull();
         found = document.find(request.text, found.position(), flagsOf(request))) {
        found.insertText(request.replacement);
        ++replaced;
    }
    edit.endEditBlock();
    return replaced;
}
