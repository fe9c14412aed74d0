#pragma once
// The font dialog for the display and printer fonts. It opens on the typeface and style the font is drawn
// with, named as the dialog lists them, even when the font names a missing typeface; what the user leaves as
// it was offered keeps the font's own description, so that accepting unchanged changes nothing.
#include <QFont>

#include <optional>

class QWidget;

// The chosen font; nullopt when cancelled.
std::optional<QFont> fontFromDialog(const QFont& font, QWidget* parent, const QString& title);
