#pragma once
// The printing commands of the editor: page setup, printer setup, printing with and without the printer
// dialog, print preview and the printer font, over one program-wide page setup.
#include "editor/printing/page_setup.h"
#include "editor/printing/printer_font.h"

#include <QPrinter>

#include <functional>
#include <memory>
#include <string>

class CommandTable;
class QPlainTextEdit;
class QPrintPreviewDialog;

// What is printed: a view's text with its document's path (empty when never saved) and title, in the printer
// font (or the view's own).
struct PrintedDocument {
    QPlainTextEdit& view;
    std::string path;
    std::string title;
    QFont font;
};

class Printing {
public:
    static Printing& instance();

    // Prints on `printer`; false with a message shown when it cannot.
    bool print(QPrinter& printer, const PrintedDocument& document);
    // After the printer dialog, on the printer it chose.
    void printWithDialog(const PrintedDocument& document);
    // On the default printer without a dialog; false with a message when there is none or it fails.
    bool printDirect(const PrintedDocument& document);
    // The preview, starting on the page of the selection's start; when it ends on another page the caret
    // goes to that page's first character. `exec` shows the dialog (its exec by default).
    void preview(const PrintedDocument& document,
                 const std::function<void(QPrintPreviewDialog&)>& exec = nullptr);
    void printerSetup(QWidget* parent);
    // Command 32770 on `font` (height 0: none), starting from `displayFont` when there is none.
    void choosePrinterFont(ProfileFont& font, const QFont& displayFont);

    // The font choice of command 32770 (a font dialog by default).
    void setFontChooser(PrinterFontChooser chooser) { chooser_ = std::move(chooser); }

    CPageSetupDlg pageSetup;

private:
    QPrinter& printer();

    std::unique_ptr<QPrinter> printer_;
    PrinterFontChooser chooser_;
};

// The screen's vertical resolution, by which printer fonts are kept.
double screenDpiY();

// Connects the printing commands to the program's command table; the printer font is the program's setting.
void connectPrintingCommands(CommandTable& table);
