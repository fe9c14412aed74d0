// Files as ZortaPad opens them: read in the encoding their bytes tell, split into lines and their ends, shown
// in a document and saved again. A Windows-1252 or UTF-8 file gives back its bytes; a UTF-16 file its text.
#include "editor/document/line_ends.h"
#include "editor/document/text_encoding.h"
#include "tests/fuzz/fuzz_check.h"

#include <QGuiApplication>

#include <cstdlib>

namespace {

std::string saved(const QTextDocument& document, LineEnd newLine, TextEncoding encoding) {
    return std::string(byteOrderMark(encoding)) + encodeText(fileText(document, newLine), encoding);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Documents lay their text out in fonts, which take an application; its own arguments leave libFuzzer's
    // be.
    static int argc = 1;
    static char name[] = "line_ends_fuzzer";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    new QGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::bytes(data, size);
    const TextEncoding encoding = detectEncoding(bytes);
    const QString text = decodeText(bytes, encoding);
    const SplitFile split = splitFile(text);
    QTextDocument document;
    document.setPlainText(split.text);
    markLineEnds(document, split.ends);
    fuzz::check(fileText(document, split.first) == text, "the document's file text is not the file's");
    if (encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be) {
        if (holdsText(text, encoding))
            fuzz::check(decodeText(saved(document, split.first, encoding), encoding) == text,
                        "a UTF-16 file saved reads as another text");
        return 0;
    }
    fuzz::check(holdsText(text, encoding), "a file read holds a character its encoding cannot");
    fuzz::check(saved(document, split.first, encoding) == bytes, "a file saved unchanged changed its bytes");
    return 0;
}
