// Opening and saving a 64 MiB text file in the editor (every byte kept, each line's terminator kept), next
// to two anchors measured in the same run on the same file: a plain read and write of its bytes, and Qt's
// own plain-text round trip through the same kind of view (Latin-1, terminators folded). And "Remplacer
// tout" in one long line beside a plain-text view's text replaced as one string.
#include <benchmark/benchmark.h>

#include "editor/document/find_dialog.h"
#include "editor/document/pad_doc.h"
#include "editor/document/pad_view.h"
#include "platform/ui/message_box.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

constexpr std::size_t kFileSize = 64u << 20;

const std::string& sampleFile() {
    static const std::string path = [] {
        std::string name = "/tmp/zortapad-bench-XXXXXX";
        const int fd = mkstemp(name.data());
        if (fd >= 0) ::close(fd);
        std::string bytes;
        bytes.reserve(kFileSize);
        for (int line = 0; bytes.size() < kFileSize; ++line)
            bytes += "PT" + std::to_string(line) + " 2512345.678 1123456.789 412.35 \xE9tat\r\n";
        bytes.resize(kFileSize);
        std::ofstream(name, std::ios::binary) << bytes;
        return name;
    }();
    return path;
}

QApplication& application() {
    static int argc = 1;
    static char name[] = "editor_files_bench";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

void EditorOpenAndSave(benchmark::State& state) {
    application();
    platform::setMessageBoxHandler([](const platform::MessageBoxRequest&) { return platform::IDYES; });
    const std::string out = sampleFile() + ".out";
    for (auto _ : state) {
        CPadDoc document;
        CPadView view(document, 0);
        if (!document.open(sampleFile()) || !document.save(out)) state.SkipWithError("open or save failed");
    }
    std::remove(out.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}
BENCHMARK(EditorOpenAndSave)->Unit(benchmark::kMillisecond)->Iterations(3);

// Anchor: the file's bytes read and written again.
void PlainReadAndWrite(benchmark::State& state) {
    const std::string out = sampleFile() + ".plain";
    for (auto _ : state) {
        std::ifstream in(sampleFile(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(out, std::ios::binary) << bytes;
    }
    std::remove(out.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}
BENCHMARK(PlainReadAndWrite)->Unit(benchmark::kMillisecond)->Iterations(3);

// Anchor: Qt's plain-text round trip of the same bytes through a plain-text view.
void QtPlainTextRoundTrip(benchmark::State& state) {
    application();
    const std::string out = sampleFile() + ".qt";
    for (auto _ : state) {
        std::ifstream in(sampleFile(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        QPlainTextEdit view;
        view.setPlainText(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
        const QByteArray back = view.toPlainText().toLatin1();
        std::ofstream(out, std::ios::binary).write(back.data(), back.size());
    }
    std::remove(out.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}
BENCHMARK(QtPlainTextRoundTrip)->Unit(benchmark::kMillisecond)->Iterations(3);

// "Remplacer tout" of 116,508 occurrences in one 5 MB line, through the editor's find dialog logic.
constexpr int kLongLineMatches = 116'508;

QString longLine() {
    const QString segment = QStringLiteral("PT000001 2512345.678 1123456.789 412.350 rue "); // 45 characters
    QString line;
    line.reserve(segment.size() * kLongLineMatches);
    for (int i = 0; i < kLongLineMatches; ++i)
        line += segment;
    return line;
}

// "Remplacer tout" of "rue" by "avenue" in a fresh view of `text`, which holds `matches` of them; only the
// replacement is timed.
void timeReplaceAll(benchmark::State& state, const QString& text, int matches) {
    for (auto _ : state) {
        state.PauseTiming();
        CPadDoc document;
        CPadView view(document, 0);
        view.setPlainText(text);
        state.ResumeTiming();
        if (replaceAll(view, {QStringLiteral("rue"), QStringLiteral("avenue")}) != matches)
            state.SkipWithError("not every occurrence was replaced");
    }
    state.SetItemsProcessed(state.iterations() * matches);
}

void EditorReplaceAllInOneLongLine(benchmark::State& state) {
    application();
    timeReplaceAll(state, longLine(), kLongLineMatches);
}
BENCHMARK(EditorReplaceAllInOneLongLine)->Unit(benchmark::kMillisecond)->Iterations(3);

// "Remplacer tout" of 343,795 occurrences over 2 million lines: one in about every sixth line.
void EditorReplaceAllOverTwoMillionLines(benchmark::State& state) {
    application();
    constexpr int kLines = 2'000'000;
    QString text;
    int matches = 0;
    for (int i = 0; i < kLines; ++i) {
        const bool hit = i % 6 == 0 && matches < 343'795;
        matches += hit;
        text += hit ? QStringLiteral("PT%1 rue\n").arg(i) : QStringLiteral("PT%1 place\n").arg(i);
    }
    timeReplaceAll(state, text, matches);
}
BENCHMARK(EditorReplaceAllOverTwoMillionLines)->Unit(benchmark::kMillisecond)->Iterations(1);

// Anchor: a plain-text view's text replaced as one string and set back.
void QtPlainTextReplaceAllInOneLongLine(benchmark::State& state) {
    application();
    const QString line = longLine();
    for (auto _ : state) {
        state.PauseTiming();
        QPlainTextEdit view;
        view.setPlainText(line);
        state.ResumeTiming();
        QString text = view.toPlainText();
        text.replace(QStringLiteral("rue"), QStringLiteral("avenue"), Qt::CaseInsensitive);
        view.setPlainText(text);
    }
    state.SetItemsProcessed(state.iterations() * kLongLineMatches);
}
BENCHMARK(QtPlainTextReplaceAllInOneLongLine)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::remove(sampleFile().c_str());
    return 0;
}
