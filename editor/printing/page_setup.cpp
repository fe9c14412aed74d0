#include "editor/printing/page_setup.h"

#include "editor/link/bus_window.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr std::string_view kSection = "PageSetup";

TimeSource sourceOf(int value) {
    return value == 0 ? TimeSource::File : TimeSource::System;
}

// A radio pair "Heure Fichier" / "Heure Système" whose ids are the time sources; the buttons are named
// after the dialog's control ids, the group's first control and the next one.
QButtonGroup* addTimeChoice(QDialog& dialog, QFormLayout& form, int firstControl, TimeSource chosen) {
    auto* group = new QButtonGroup(&dialog);
    auto* row = new QHBoxLayout;
    const QString captions[] = {QStringLiteral("Heure Fichier"), QStringLiteral("Heure Système")};
    for (int id = 0; id < 2; ++id) {
        auto* button = new QRadioButton(captions[id], &dialog);
        button->setObjectName(QString::number(firstControl + id));
        button->setChecked(static_cast<int>(chosen) == id);
        group->addButton(button, id);
        row->addWidget(button);
    }
    form.addRow(QString(), row);
    return group;
}

} // namespace

void CPageSetupDlg::load(const ProfileFile& profile) {
    if (profile.readInt(kSection, "Version", 0) <= 0) {
        const PageSetupValues defaults;
        profile.writeInt(kSection, "Version", 1);
        profile.writeString(kSection, "Header", defaults.header);
        profile.writeString(kSection, "Footer", defaults.footer);
        profile.writeInt(kSection, "HeaderTime", static_cast<int>(defaults.headerTime));
        profile.writeInt(kSection, "FooterTime", static_cast<int>(defaults.footerTime));
    }
    const PageSetupValues defaults;
    values.header = profile.readString(kSection, "Header", defaults.header);
    values.footer = profile.readString(kSection, "Footer", defaults.footer);
    values.headerTime = sourceOf(profile.readInt(kSection, "HeaderTime", 1));
    values.footerTime = sourceOf(profile.readInt(kSection, "FooterTime", 1));
    read_ = values;
}

void CPageSetupDlg::saveChanged(const ProfileFile& profile) {
    if (values.header != read_.header) profile.writeString(kSection, "Header", values.header);
    if (values.footer != read_.footer) profile.writeString(kSection, "Footer", values.footer);
    if (values.headerTime != read_.headerTime)
        profile.writeInt(kSection, "HeaderTime", static_cast<int>(values.headerTime));
    if (values.footerTime != read_.footerTime)
        profile.writeInt(kSection, "FooterTime", static_cast<int>(values.footerTime));
    read_ = values;
}

bool CPageSetupDlg::edit(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName(QString::number(kDialogId));
    dialog.setWindowTitle(QStringLiteral("Mise en page"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    auto* header = new QLineEdit(fromCodePage(values.header), &dialog);
    auto* footer = new QLineEdit(fromCodePage(values.footer), &dialog);
    header->setObjectName(QString::number(kHeaderControl));
    footer->setObjectName(QString::number(kFooterControl));
    form->addRow(QStringLiteral("En-tête"), header);
    QButtonGroup* headerTime = addTimeChoice(dialog, *form, kHeaderTimeGroup, values.headerTime);
    form->addRow(QStringLiteral("Pied de page"), footer);
    QButtonGroup* footerTime = addTimeChoice(dialog, *form, kFooterTimeGroup, values.footerTime);
    layout->addLayout(form);
    for (const char* code : {"%c > Date et Heure ; %x Date seulle", "&&p > No de page en cours",
                             "&&f  > Nom du fichier", "&&t  > Titre de la fenêtre"})
        layout->addWidget(
            new QLabel(QString::fromUtf8(code).replace(QStringLiteral("&&"), QStringLiteral("&")), &dialog));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    values.header = toCodePage(header->text());
    values.footer = toCodePage(footer->text());
    values.headerTime = sourceOf(headerTime->checkedId());
    values.footerTime = sourceOf(footerTime->checkedId());
    return true;
}
