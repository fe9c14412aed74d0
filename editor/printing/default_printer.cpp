#include "editor/printing/default_printer.h"

#include <QPrinter>
#include <QPrinterInfo>

#include <cstdlib>

std::optional<std::string> defaultPrinterName() {
    const QString system = QPrinterInfo::defaultPrinterName();
    if (!system.isEmpty()) return system.toStdString();
    const char* named = std::getenv("ZORTA_PRINTER");
    if (named && *named) return std::string(named);
    return std::nullopt;
}

bool useDefaultPrinter(QPrinter& printer) {
    const std::optional<std::string> name = defaultPrinterName();
    if (!name) return false;
    const QString printerName = QString::fromStdString(*name);
    if (printerName.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerName);
    } else {
        printer.setPrinterName(printerName);
    }
    return true;
}
