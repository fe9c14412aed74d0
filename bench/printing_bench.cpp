// A 10,000-line listing printed to PDF with its headers, footers and rules (pages per second), beside Qt
// printing the same text with its own pagination (QTextDocument::print) as the anchor: compare their times.
#include "editor/printing/print_job.h"

#include <QApplication>
#include <QPrinter>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

QString listing() {
    QString text;
    for (int i = 1; i <= 10000; ++i)
        text += QStringLiteral("PT%1 X=%2.25 Y=%3.50 Z=101.70\n").arg(i).arg(1000 + i).arg(3000 + i);
    return text;
}

void pdfPrinter(QPrinter& printer, const char* name) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(
        QString::fromStdString((std::filesystem::temp_directory_path() / name).string()));
}

void BM_PrintJobToPdf(benchmark::State& state) {
    QTextDocument text(listing());
    const QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
    const PrintJob job(PageSetupValues{}, "/tmp/listing.txt", "listing.txt", 1'700'000'000);
    int pages = 0;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, "printing_bench_job.pdf");
        std::string error;
        if (!job.print(printer, text, font, error)) state.SkipWithError(error.c_str());
        pages = job.layoutFor(printer, text, font).pageCount();
    }
    state.counters["pages"] = pages;
    state.counters["pages/s"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PrintJobToPdf)->Unit(benchmark::kMillisecond);

void BM_QtDocumentPrintToPdf(benchmark::State& state) {
    QTextDocument text(listing());
    text.setDefaultFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, "printing_bench_qt.pdf");
        text.print(&printer);
    }
}
BENCHMARK(BM_QtDocumentPrintToPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
