#pragma once
// One printing of a document: the header and footer times fixed when it begins, the pages laid out for the
// printer, and each page painted with its header and footer.
#include "editor/printing/page_layout.h"
#include "editor/printing/page_setup.h"

#include <ctime>
#include <functional>
#include <string>

class QPrinter;
class QTextDocument;

class PrintJob {
public:
    // `path` (the file system's bytes) empty for a document never saved; `now` is when printing begins.
    PrintJob(const PageSetupValues& setup, std::string path, std::string title, std::time_t now);

    std::time_t headerTime() const { return headerTime_; }
    std::time_t footerTime() const { return footerTime_; }
    // The header and footer of page `page` (1-based).
    PageDecoration decorationOf(int page) const;

    // Prints the printer's page range (all pages when it has none); false with `error` set when the printer
    // cannot be painted on.
    // `progress`, when given, is told of each page and stops the job (aborted, with `error` empty) on false.
    bool print(QPrinter& printer, const QTextDocument& text, const QFont& font, std::string& error,
               const std::function<bool(int done, int total)>& progress = {}) const;
    // The layout `print` uses for this printer.
    PageLayout layoutFor(QPrinter& printer, const QTextDocument& text, const QFont& font) const;

private:
    PageSetupValues setup_;
    std::string path_; // as the header shows it
    std::string title_;
    std::time_t headerTime_;
    std::time_t footerTime_;
};
