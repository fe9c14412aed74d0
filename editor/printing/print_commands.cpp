#include "editor/printing/print_commands.h"

#include "editor/app/command_ids.h"
#include "editor/app/command_table.h"
#include "editor/app/font_dialog.h"
#include "editor/app/font_settings.h"
#include "editor/app/the_app.h"
#include "editor/app/work_progress.h"
#include "editor/document/pad_doc.h"
#include "editor/document/pad_view.h"
#include "editor/printing/default_printer.h"
#include "editor/printing/print_job.h"
#include "platform/ui/message_box.h"

#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QTextBlock>

#include <ctime>

using namespace pad_command;

namespace {

void showMessage(const std::string& text) {
    platform::messageBox(0, text.c_str(), "ZortaPad", platform::MB_OK | platform::MB_ICONERROR);
}

// The font dialog, which shows sizes in points: those of the printer's pixels.
std::optional<ProfileFont> askFont(const ProfileFont& current, double printerDpi) {
    const std::optional<QFont> chosen =
        fontFromDialog(printingFont(current, printerDpi), nullptr, QStringLiteral("Police d'impression"));
    if (!chosen) return std::nullopt;
    return profileFontAt(*chosen, printerDpi);
}

PrintJob jobFor(const CPageSetupDlg& setup, const PrintedDocument& document) {
    return PrintJob(setup.values, document.path, document.title, std::time(nullptr));
}

PrintedDocument documentOf(CPadView* view) {
    const ProfileFont& printerFont = CTheApp::instance().settings().printFont;
    return {*view, view->padDocument().path, toCodePage(view->padDocument().title()),
            printerFont.height != 0 ? printingFont(printerFont, screenDpiY()) : view->font()};
}

} // namespace

double screenDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

Printing& Printing::instance() {
    static Printing printing;
    return printing;
}

QPrinter& Printing::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        useDefaultPrinter(*printer_);
    }
    return *printer_;
}

// A cancelled job says nothing more: the user stopped it.
bool Printing::print(QPrinter& target, const PrintedDocument& document) {
    std::string error;
    WorkProgress progress(QStringLiteral("Impression de %1").arg(fromCodePage(document.title)),
                          &document.view);
    if (jobFor(pageSetup, document)
            .print(target, *document.view.document(), document.font, error,
                   [&](int done, int total) { return progress.report(done, total); }))
        return true;
    if (!error.empty()) showMessage(error);
    return false;
}

void Printing::printWithDialog(const PrintedDocument& document) {
    QPrintDialog dialog(&printer(), &document.view);
    dialog.setWindowTitle(QStringLiteral("Imprimer"));
    if (dialog.exec() == QDialog::Accepted) print(printer(), document);
}

bool Printing::printDirect(const PrintedDocument& document) {
    QPrinter direct(QPrinter::HighResolution);
    if (useDefaultPrinter(direct)) return print(direct, document);
    showMessage(printerFontMessage(kNoPrinterString));
    return false;
}

void Printing::preview(const PrintedDocument& document,
                       const std::function<void(QPrintPreviewDialog&)>& exec) {
    const PrintJob job = jobFor(pageSetup, document);
    const QTextDocument& text = *document.view.document();
    QPrintPreviewDialog dialog(&printer(), &document.view);
    dialog.setWindowTitle(QStringLiteral("Aperçu avant impression"));
    auto* widget = dialog.findChild<QPrintPreviewWidget*>();
    const int startPage =
        job.layoutFor(printer(), text, document.font).pageOf(document.view.textCursor().selectionStart()) + 1;
    std::vector<int> pageStarts;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter* target) {
        std::string error;
        pageStarts = job.layoutFor(*target, text, document.font).pageStarts();
        if (!job.print(*target, text, document.font, error)) showMessage(error);
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

void Printing::printerSetup(QWidget* parent) {
    QPageSetupDialog dialog(&printer(), parent);
    dialog.setWindowTitle(QStringLiteral("Paramètres imprimante"));
    dialog.exec();
}

void Printing::choosePrinterFont(ProfileFont& font, const QFont& displayFont) {
    const int message = ::choosePrinterFont(font, profileFontOf(displayFont), screenDpiY(),
                                            chooser_ ? chooser_ : PrinterFontChooser(askFont));
    if (message) showMessage(printerFontMessage(message));
}

void connectPrintingCommands(CommandTable& table) {
    Printing& printing = Printing::instance();
    const auto printerFont = []() -> ProfileFont& { return CTheApp::instance().settings().printFont; };
    table.connect(kPageSetup, [&printing](CPadView* view) { printing.pageSetup.edit(view); });
    table.connect(kPrintSetup, [&printing](CPadView* view) { printing.printerSetup(view); });
    table.connectOnView(kPrint, [&printing](CPadView* view) { printing.printWithDialog(documentOf(view)); });
    table.connectOnView(kPrintDirect,
                        [&printing](CPadView* view) { printing.printDirect(documentOf(view)); });
    table.connectOnView(kPrintPreview, [&printing](CPadView* view) { printing.preview(documentOf(view)); });
    table.connectOnView(
        kPrinterFont,
        [&printing, printerFont](CPadView* view) { printing.choosePrinterFont(printerFont(), view->font()); },
        [printerFont](CPadView*) { return printerFont().height != 0; });
    table.connectOnView(
        kSameFontForPrinting, [printerFont](CPadView*) { printerFont().height = 0; },
        [printerFont](CPadView*) { return printerFont().height == 0; });
}
