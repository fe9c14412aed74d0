#include "editor/document/view_dialogs.h"

#include "editor/app/pad_settings.h"
#include "editor/link/bus_window.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit* numberField(QWidget* parent, int low, int high, int value) {
    auto* field = new QLineEdit(QString::fromStdString(formatInteger(value)), parent);
    field->setValidator(new QIntValidator(low, high, field));
    return field;
}

int valueOf(const QLineEdit* field, int low, int high, int fallback) {
    const std::optional<long long> value = parseInteger(field->text().toStdString());
    return static_cast<int>(std::clamp<long long>(value.value_or(fallback), low, high));
}

void addButtons(QDialog* dialog, QFormLayout* form) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    form->addRow(buttons);
}

} // namespace

OptionsDialog::OptionsDialog(int tabCharacters, int lineLimit, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Options affichage"));
    auto* form = new QFormLayout(this);
    tabs_ = numberField(this, PadSettings::kMinTabCharacters, PadSettings::kMaxTabCharacters, tabCharacters);
    limit_ = numberField(this, PadSettings::kMinLineLimit, PadSettings::kMaxLineLimit, lineLimit);
    form->addRow(QStringLiteral("Tabulations (caractères)"), tabs_);
    form->addRow(QStringLiteral("Lignes de l'écran texte"), limit_);
    addButtons(this, form);
}

int OptionsDialog::tabCharacters() const {
    return valueOf(tabs_, PadSettings::kMinTabCharacters, PadSettings::kMaxTabCharacters,
                   PadSettings::kDefaultTabStops / PadSettings::kDialogUnitsPerCharacter);
}

int OptionsDialog::lineLimit() const {
    return valueOf(limit_, PadSettings::kMinLineLimit, PadSettings::kMaxLineLimit,
                   PadSettings::kDefaultLineLimit);
}

SeriesDialog::SeriesDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Remplacer série de mots"));
    auto* form = new QFormLayout(this);
    separator_ = new QLineEdit(QStringLiteral("!"), this);
    separator_->setMaxLength(1);
    case_ = new QCheckBox(QStringLiteral("Respecter la casse"), this);
    empty_ = new QCheckBox(QStringLiteral("Autoriser un remplacement vide"), this);
    form->addRow(QStringLiteral("Séparateur"), separator_);
    form->addRow(case_);
    form->addRow(empty_);
    addButtons(this, form);
}

SeriesOptions SeriesDialog::options() const {
    SeriesOptions options;
    const std::string separator = toCodePage(separator_->text());
    if (!separator.empty()) options.separator = separator.front();
    options.caseSensitive = case_->isChecked();
    options.allowEmpty = empty_->isChecked();
    return options;
}
