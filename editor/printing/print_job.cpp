#include "editor/printing/print_job.h"

#include "editor/document/file_names.h"
#include "editor/link/bus_window.h"
#include "editor/printing/header_footer.h"

#include <QPainter>
#include <QPrinter>

#include <sys/stat.h>

namespace {

// The file's time when asked for and the document has a file with an extension; else the start of printing.
std::time_t timeOf(TimeSource source, const std::string& path, std::time_t now) {
    if (source != TimeSource::File || path.find('.') == std::string::npos) return now;
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_mtime : now;
}

} // namespace

PrintJob::PrintJob(const PageSetupValues& setup, std::string path, std::string title, std::time_t now)
    : setup_(setup), path_(messagePath(path)), title_(std::move(title)),
      headerTime_(timeOf(setup.headerTime, path, now)), footerTime_(timeOf(setup.footerTime, path, now)) {}

PageDecoration PrintJob::decorationOf(int page) const {
    return {FormatHeaderFooter(setup_.header, headerTime_, path_, title_, page),
            FormatHeaderFooter(setup_.footer, footerTime_, path_, title_, page)};
}

PageLayout PrintJob::layoutFor(QPrinter& printer, const QTextDocument& text, const QFont& font) const {
    const PageDecoration first = decorationOf(1);
    return PageLayout(text, font, printer, printer.width(), printer.height(), !first.header.empty(),
                      !first.footer.empty());
}

bool PrintJob::print(QPrinter& printer, const QTextDocument& text, const QFont& font, std::string& error,
                     const std::function<bool(int done, int total)>& progress) const {
    const PageLayout layout = layoutFor(printer, text, font);
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = printer.outputFileName().isEmpty()
                    ? "l'imprimante " + toCodePage(printer.printerName()) + " refuse l'impression"
                    : "impossible d'\xE9"
                      "crire " +
                          toCodePage(printer.outputFileName());
        return false;
    }
    const int first = printer.fromPage() > 0 ? printer.fromPage() : 1;
    const int last =
        printer.toPage() > 0 ? std::min(printer.toPage(), layout.pageCount()) : layout.pageCount();
    for (int page = first; page <= last; ++page) {
        if (progress && !progress(page - first, last - first + 1)) {
            printer.abort();
            painter.end();
            error.clear();
            return false;
        }
        if (page > first) printer.newPage();
        layout.paintPage(painter, page - 1, decorationOf(page));
    }
    return painter.end();
}
