#include "editor/document/go_to_dialog.h"

#include "editor/app/pad_settings.h"
#include "editor/document/edit_positions.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>

namespace {

constexpr long long kMaxima[] = {GoToDialog::kMaxLine, GoToDialog::kMaxFilePosition,
                                 GoToDialog::kMaxLinePosition};

// The block of a 1-based line, the last one past the end.
QTextBlock blockOfLine(const QTextDocument& document, long long line) {
    const QTextBlock block =
        document.findBlockByNumber(static_cast<int>(std::clamp<long long>(line, 1, INT32_MAX) - 1));
    return block.isValid() ? block : document.lastBlock();
}

std::int64_t editIndexOfBlock(const QTextBlock& block) {
    return block.position() + block.blockNumber();
}

} // namespace

GoToDialog::GoToDialog(const QTextDocument& document, int position, QWidget* parent)
    : QDialog(parent), document_(document) {
    setWindowTitle(QStringLiteral("Aller à"));
    auto* form = new QFormLayout(this);
    const char* labels[] = {"Numéro de ligne", "Position dans le fichier", "Position dans la ligne"};
    for (int i = 0; i < 3; ++i) {
        fields_[i] = new QLineEdit(this);
        fields_[i]->setObjectName(QString::number(1000 + i));
        fields_[i]->setValidator(
            new QIntValidator(i == Line ? 1 : 0, static_cast<int>(kMaxima[i]), fields_[i]));
        form->addRow(QString::fromUtf8(labels[i]), fields_[i]);
        const auto which = static_cast<Field>(i);
        connect(fields_[i], &QLineEdit::textChanged, this, [this, which] { recompute(which); });
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);

    const QTextBlock block = document.findBlock(position);
    recomputing_ = true;
    show(Line, block.blockNumber() + 1);
    show(FilePosition, editIndexOf(document, position));
    show(LinePosition, position - block.position());
    recomputing_ = false;
}

long long GoToDialog::value(Field which) const {
    return std::clamp<long long>(parseInteger(fields_[which]->text().toStdString()).value_or(0),
                                 which == Line ? 1 : 0, kMaxima[which]);
}

void GoToDialog::show(Field which, long long number) {
    fields_[which]->setText(QString::fromStdString(formatInteger(number)));
}

// The guard keeps the fields set here from recomputing in turn.
void GoToDialog::recompute(Field edited) {
    if (recomputing_) return;
    recomputing_ = true;
    lastEdited_ = edited;
    if (edited == FilePosition) {
        const int position = positionOf(document_, value(FilePosition));
        const QTextBlock block = document_.findBlock(position);
        show(Line, block.blockNumber() + 1);
        show(LinePosition, position - block.position());
    } else {
        const QTextBlock block = blockOfLine(document_, value(Line));
        const long long inLine =
            edited == Line ? 0 : std::min<long long>(value(LinePosition), block.length() - 1);
        if (edited == Line) show(LinePosition, 0);
        show(FilePosition, editIndexOfBlock(block) + inLine);
    }
    recomputing_ = false;
}

int GoToDialog::target() const {
    switch (lastEdited_) {
    case FilePosition:
        return positionOf(document_, value(FilePosition));
    case LinePosition: {
        const QTextBlock block = blockOfLine(document_, value(Line));
        return block.position() +
               static_cast<int>(std::min<long long>(value(LinePosition), block.length() - 1));
    }
    default:
        return blockOfLine(document_, value(Line)).position();
    }
}
