#pragma once
// The printer font: chosen on the default printer in the printer's pixels, kept in the screen's pixels like
// the display font (the profile's "PrintFont").
#include "editor/app/pad_settings.h"

#include <QFont>

#include <functional>
#include <optional>

// The font in points for a description in the pixels of a device of `dpi` dots per inch.
QFont printingFont(const ProfileFont& font, double dpi);
// The description in the pixels of a device of `dpi` of a font sized in points.
ProfileFont profileFontAt(const QFont& font, double dpi);

// Shows the font choice for a font in the pixels of a printer of `printerDpi`; nullopt when cancelled.
using PrinterFontChooser =
    std::function<std::optional<ProfileFont>(const ProfileFont& inPrinterPixels, double printerDpi)>;

constexpr int kNoPrinterString = 4001;
constexpr int kNoPrinterContextString = 4000;

// Command 32770: offers `font` (height 0: none yet, `fallback` then), scaled from the screen's resolution to
// the default printer's, and makes the chosen one `font` in the screen's pixels. The id of the string to show
// when there is no printer or no printer context, `font` then unchanged; else 0 (also when cancelled).
int choosePrinterFont(ProfileFont& font, const ProfileFont& fallback, double screenDpiY,
                      const PrinterFontChooser& choose);
const char* printerFontMessage(int stringId);
