#include "editor/printing/printer_font.h"

#include "editor/app/font_settings.h"
#include "editor/printing/default_printer.h"

#include <QPrinter>

#include <cmath>

namespace {

ProfileFont rescaled(ProfileFont font, double to, double from) {
    font.height = static_cast<int>(std::lround(font.height * to / from));
    return font;
}

} // namespace

QFont printingFont(const ProfileFont& font, double dpi) {
    QFont out = qFontOf(font);
    // Points, so that the printer's own resolution sizes it as the screen shows it.
    out.setPointSizeF(std::max(1.0, std::abs(font.height) * 72.0 / dpi));
    return out;
}

ProfileFont profileFontAt(const QFont& font, double dpi) {
    ProfileFont profile = profileFontOf(font);
    if (font.pointSizeF() > 0)
        profile.height = -static_cast<int>(std::lround(font.pointSizeF() * dpi / 72.0));
    return profile;
}

int choosePrinterFont(ProfileFont& font, const ProfileFont& fallback, double screenDpiY,
                      const PrinterFontChooser& choose) {
    QPrinter printer(QPrinter::HighResolution);
    if (!useDefaultPrinter(printer)) return kNoPrinterString;
    if (!printer.isValid()) return kNoPrinterContextString;
    const double printerDpiY = printer.logicalDpiY();
    const ProfileFont current = font.height != 0 ? font : fallback;
    if (const std::optional<ProfileFont> chosen =
            choose(rescaled(current, printerDpiY, screenDpiY), printerDpiY))
        font = rescaled(*chosen, screenDpiY, printerDpiY);
    return 0;
}

const char* printerFontMessage(int stringId) {
    return stringId == kNoPrinterString ? "Device d'imprimante introuvable"
                                        : "Contexte d'imprimante Introuvable";
}
