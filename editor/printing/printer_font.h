#pragma once
// The printer font: chosen on the default printer in its own units, kept in screen units in the profile
// section "PrintFont".
#include "editor/printing/profile_values.h"

#include <QFont>

#include <functional>
#include <optional>
#include <string>

// The fields of a font description that the profile keeps; heights and widths in device pixels, negative
// for a character height.
struct LogFont {
    int height = 0;
    int width = 0;
    int weight = 0;
    bool italic = false;
    bool underline = false;
    int pitchAndFamily = 0;
    int charSet = 1;
    std::string faceName = "System";

    bool operator==(const LogFont&) const = default;
};

// The stored printer font; nullopt when none is (height 0).
std::optional<LogFont> readPrintFont(const ProfileFile& profile);
// Stores the font, or height 0 to forget it.
void writePrintFont(const ProfileFile& profile, const std::optional<LogFont>& font);

// The font to print in for a description in screen units at `screenDpi`.
QFont printingFont(const LogFont& font, double screenDpi);

// Shows the font choice for a font in the printer's units; nullopt when cancelled.
using PrinterFontChooser = std::function<std::optional<LogFont>(const LogFont& inPrinterUnits)>;

constexpr int kNoPrinterString = 4001;
constexpr int kNoPrinterContextString = 4000;

// Command 32770: `font` becomes the chosen font in screen units; the id of the string to show when there is
// no printer or no printer context, else 0 (also when the choice was cancelled, `font` then unchanged).
int choosePrinterFont(std::optional<LogFont>& font, double screenDpiX, double screenDpiY,
                      const PrinterFontChooser& choose);
const char* printerFontMessage(int stringId);
