#include "editor/printing/print_commands.h"

#include "editor/link/bus_window.h"
#include "editor/printing/default_printer.h"
#include "editor/printing/print_job.h"
#include "platform/ui/message_box.h"

#include <QFontDialog>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QTextBlock>

#include <ctime>

namespace {

void showMessage(const std::string& text) {
    platform::messageBox(0, text.c_str(), "ZortaPad", platform::MB_OK | platform::MB_ICONERROR);
}

std::pair<double, double> screenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {96.0, 96.0};
    return {screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY()};
}

// The font dialog on printer fonts, in the printer's pixels.
std::optional<LogFont> askFont(const LogFont& current) {
    QFont font(QString::fromStdString(current.faceName));
    font.setPixelSize(std::max(1, std::abs(current.height)));
    font.setItalic(current.italic);
    font.setUnderline(current.underline);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, nullptr, QStringLiteral("Police d'impression"));
    if (!ok) return std::nullopt;
    LogFont out = current;
    out.faceName = chosen.family().toStdString().substr(0, 31);
    out.height = -std::max(1, chosen.pixelSize() > 0 ? chosen.pixelSize() : std::abs(current.height));
    out.weight = chosen.weight();
    out.italic = chosen.italic();
    out.underline = chosen.underline();
    return out;
}

PrintJob jobFor(const CPageSetupDlg& setup, const PrintedDocument& document) {
    return PrintJob(setup.values, document.path, document.title, std::time(nullptr));
}

} // namespace

Printing& Printing::instance() {
    static Printing printing;
    return printing;
}

void Printing::load(const ProfileFile& profile) {
    pageSetup.load(profile);
    printerFont = printerFontRead_ = readPrintFont(profile);
}

void Printing::save(const ProfileFile& profile) {
    pageSetup.saveChanged(profile);
    if (printerFont != printerFontRead_) writePrintFont(profile, printerFont);
    printerFontRead_ = printerFont;
}

QPrinter& Printing::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        useDefaultPrinter(*printer_);
    }
    return *printer_;
}

QFont Printing::fontFor(const QPlainTextEdit& view) const {
    return printerFont ? printingFont(*printerFont, screenDpi().second) : view.font();
}

bool Printing::print(QPrinter& target, const PrintedDocument& document) {
    std::string error;
    if (jobFor(pageSetup, document).print(target, *document.view.document(), fontFor(document.view), error))
        return true;
    showMessage(error);
    return false;
}

void Printing::preview(const PrintedDocument& document,
                       const std::function<void(QPrintPreviewDialog&)>& exec) {
    const PrintJob job = jobFor(pageSetup, document);
    const QFont font = fontFor(document.view);
    const QTextDocument& text = *document.view.document();
    QPrintPreviewDialog dialog(&printer(), &document.view);
    auto* widget = dialog.findChild<QPrintPreviewWidget*>();
    const int startPage =
        job.layoutFor(printer(), text, font).pageOf(document.view.textCursor().selectionStart()) + 1;
    std::vector<int> pageStarts;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter* target) {
        std::string error;
        pageStarts = job.layoutFor(*target, text, font).pageStarts();
        if (!job.print(*target, text, font, error)) showMessage(error);
    });
    bool placed = false;
    QObject::connect(widget, &QPrintPreviewWidget::previewChanged, [&] {
        if (placed) return;
        placed = true;
        widget->setCurrentPage(startPage);
    });
    if (exec)
        exec(dialog);
    else
        dialog.exec();
    const int endPage = widget->currentPage();
    if (endPage == startPage || endPage < 1 || endPage > static_cast<int>(pageStarts.size())) return;
    QTextCursor cursor = document.view.textCursor();
    cursor.setPosition(pageStarts[static_cast<std::size_t>(endPage - 1)]);
    document.view.setTextCursor(cursor);
    document.view.ensureCursorVisible();
}

void Printing::choosePrinterFont() {
    const auto [dpiX, dpiY] = screenDpi();
    const int message =
        ::choosePrinterFont(printerFont, dpiX, dpiY, chooser_ ? chooser_ : PrinterFontChooser(askFont));
    if (message) showMessage(printerFontMessage(message));
}

bool Printing::run(int command, const PrintedDocument* document) {
    switch (command) {
    case kPageSetupCommand:
        pageSetup.edit(document ? &document->view : nullptr);
        return true;
    case kPrinterSetupCommand: {
        QPageSetupDialog dialog(&printer(), document ? &document->view : nullptr);
        dialog.exec();
        return true;
    }
    case kPrinterFontCommand:
        choosePrinterFont();
        return true;
    case kForgetPrinterFontCommand:
        printerFont.reset();
        return true;
    default:
        break;
    }
    if (!document) return false;
    switch (command) {
    case kPrintCommand: {
        QPrintDialog dialog(&printer(), &document->view);
        if (dialog.exec() == QDialog::Accepted) print(printer(), *document);
        return true;
    }
    case kPrintDirectCommand: {
        QPrinter direct(QPrinter::HighResolution);
        if (useDefaultPrinter(direct))
            print(direct, *document);
        else
            showMessage(printerFontMessage(kNoPrinterString));
        return true;
    }
    case kPrintPreviewCommand:
        preview(*document);
        return true;
    default:
        return false;
    }
}

bool Printing::isChecked(int command) const {
    if (command == kPrinterFontCommand) return printerFont.has_value();
    if (command == kForgetPrinterFontCommand) return !printerFont.has_value();
    return false;
}
