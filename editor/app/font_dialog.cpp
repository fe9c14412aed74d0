#include "editor/app/font_dialog.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>

namespace {

// `font` as the dialog's own lists name it: the family drawn, which may stand in for a missing one, and the
// style that draws it (matching by weight and italic would take "Oblique" for a regular face).
QFont offeredFont(const QFont& font) {
    const QFontInfo drawn(font);
    QFont offered = QFontDatabase::font(drawn.family(), drawn.styleName(), drawn.pointSize());
    offered.setUnderline(font.underline());
    offered.setStrikeOut(font.strikeOut());
    return offered;
}

// `chosen` with the parts the user left as `offered` taken back from `font`: a missing typeface keeps its
// name and a size in pixels is not rounded through the dialog's whole points.
QFont keptWhereUnchanged(const QFont& font, const QFont& offered, QFont chosen) {
    if (chosen.family() == offered.family()) {
        if (chosen.styleName() == offered.styleName()) {
            chosen.setWeight(font.weight());
            chosen.setStyle(font.style());
            chosen.setStyleName(font.styleName());
        }
        chosen.setFamilies(font.families());
        chosen.setFixedPitch(font.fixedPitch());
        chosen.setStyleHint(font.styleHint());
    }
    if (chosen.pointSize() == offered.pointSize()) {
        if (font.pixelSize() > 0)
            chosen.setPixelSize(font.pixelSize());
        else
            chosen.setPointSizeF(font.pointSizeF());
    }
    return chosen;
}

} // namespace

std::optional<QFont> fontFromDialog(const QFont& font, QWidget* parent, const QString& title) {
    const QFont offered = offeredFont(font);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, offered, parent, title);
    if (!ok) return std::nullopt;
    return keptWhereUnchanged(font, offered, chosen);
}
