#include "editor/printing/printer_font.h"

#include "editor/printing/default_printer.h"

#include <QPrinter>

#include <cmath>

namespace {

constexpr std::string_view kSection = "PrintFont";

int scaled(int value, double to, double from) {
    return static_cast<int>(std::lround(value * to / from));
}

LogFont rescaled(LogFont font, double toX, double toY, double fromX, double fromY) {
    font.height = scaled(font.height, toY, fromY);
    font.width = scaled(font.width, toX, fromX);
    return font;
}

} // namespace

std::optional<LogFont> readPrintFont(const ProfileFile& profile) {
    LogFont font;
    font.height = profile.readInt(kSection, "Height", 0);
    if (font.height == 0) return std::nullopt;
    font.weight = profile.readInt(kSection, "Weight", 0);
    font.italic = profile.readInt(kSection, "Italic", 0) != 0;
    font.underline = profile.readInt(kSection, "Underline", 0) != 0;
    font.pitchAndFamily = profile.readInt(kSection, "PitchAndFamily", 0);
    font.charSet = profile.readInt(kSection, "CharSet", 1);
    font.faceName = profile.readString(kSection, "FaceName", "System").substr(0, 31);
    return font;
}

void writePrintFont(const ProfileFile& profile, const std::optional<LogFont>& font) {
    profile.writeInt(kSection, "Height", font ? font->height : 0);
    if (!font) return;
    profile.writeInt(kSection, "Weight", font->weight);
    profile.writeInt(kSection, "Italic", font->italic);
    profile.writeInt(kSection, "Underline", font->underline);
    profile.writeInt(kSection, "PitchAndFamily", font->pitchAndFamily);
    profile.writeInt(kSection, "CharSet", font->charSet);
    profile.writeString(kSection, "FaceName", font->faceName);
}

QFont printingFont(const LogFont& font, double screenDpi) {
    QFont out(QString::fromStdString(font.faceName));
    out.setStyleHint(QFont::TypeWriter);
    out.setPointSizeF(std::max(1.0, std::abs(font.height) * 72.0 / screenDpi));
    if (font.weight > 0) out.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    out.setItalic(font.italic);
    out.setUnderline(font.underline);
    return out;
}

int choosePrinterFont(std::optional<LogFont>& font, double screenDpiX, double screenDpiY,
                      const PrinterFontChooser& choose) {
    QPrinter printer(QPrinter::HighResolution);
    if (!useDefaultPrinter(printer)) return kNoPrinterString;
    if (!printer.isValid()) return kNoPrinterContextString;
    const double printerX = printer.logicalDpiX();
    const double printerY = printer.logicalDpiY();
    const LogFont current = font.value_or(LogFont{-12, 0, 400, false, false, 0x31, 1, "Courier New"});
    const std::optional<LogFont> chosen =
        choose(rescaled(current, printerX, printerY, screenDpiX, screenDpiY));
    if (chosen) font = rescaled(*chosen, screenDpiX, screenDpiY, printerX, printerY);
    return 0;
}

const char* printerFontMessage(int stringId) {
    return stringId == kNoPrinterString ? "Device d'imprimante introuvable"
                                        : "Contexte d'imprimante Introuvable";
}
