#pragma once
// The printing commands of the editor: page setup, printer setup, printing with and without the printer
// dialog, print preview and the printer font, over one program-wide page setup and printer font.
#include "editor/printing/page_setup.h"
#include "editor/printing/printer_font.h"

#include <QPrinter>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QPlainTextEdit;
class QPrintPreviewDialog;

constexpr int kPageSetupCommand = 32769;
constexpr int kPrinterFontCommand = 32770;
constexpr int kForgetPrinterFontCommand = 104;
constexpr int kPrinterSetupCommand = 57606;
constexpr int kPrintCommand = 57607;
constexpr int kPrintDirectCommand = 57608;
constexpr int kPrintPreviewCommand = 57609;

// What is printed: a view's text with its document's path (empty when never saved) and title.
struct PrintedDocument {
    QPlainTextEdit& view;
    std::string path;
    std::string title;
};

class Printing {
public:
    static Printing& instance();

    void load(const ProfileFile& profile);
    // Writes the page setup's changed values and the printer font when it changed.
    void save(const ProfileFile& profile);

    // Runs one of the commands above; false for another command. `document` is null without a view.
    bool run(int command, const PrintedDocument* document);
    // Whether the command's menu item carries a check mark.
    bool isChecked(int command) const;

    // Prints on `printer`; false with a message shown when it cannot.
    bool print(QPrinter& printer, const PrintedDocument& document);
    // The preview, starting on the page of the selection's start; when it ends on another page the caret
    // goes to that page's first character. `exec` shows the dialog (its exec by default).
    void preview(const PrintedDocument& document,
                 const std::function<void(QPrintPreviewDialog&)>& exec = nullptr);

    // The font choice of command 32770 (a font dialog by default).
    void setFontChooser(PrinterFontChooser chooser) { chooser_ = std::move(chooser); }
    // The font printing uses: the printer font, else the view's font.
    QFont fontFor(const QPlainTextEdit& view) const;

    CPageSetupDlg pageSetup;
    std::optional<LogFont> printerFont;

private:
    QPrinter& printer();
    void choosePrinterFont();

    std::unique_ptr<QPrinter> printer_;
    std::optional<LogFont> printerFontRead_;
    PrinterFontChooser chooser_;
};
