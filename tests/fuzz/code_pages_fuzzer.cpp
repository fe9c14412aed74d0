// Text through the host's code pages: Windows-1252 bytes come back byte for byte, UTF-8 and UTF-16 text
// back character for character, and a character outside Windows-1252 back from its \U+XXXX escape.
#include "host/filing/text_codec.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::bytes(data, size);
    fuzz::check(host::toCp1252(host::fromCp1252(bytes)) == bytes,
                "Windows-1252 bytes changed by a round trip");
    // Valid text of every character: invalid sequences are U+FFFD already.
    const std::wstring text = host::fromUtf8(bytes);
    fuzz::check(host::fromUtf8(host::toUtf8(text)) == text, "text changed by a UTF-8 round trip");
    fuzz::check(host::fromUtf16(host::toUtf16(text)) == text, "text changed by a UTF-16 round trip");
    // Text holding an escape of its own ("\U+" or "\u+") reads back decoded.
    if (text.find(L"\\U+") == std::wstring::npos && text.find(L"\\u+") == std::wstring::npos)
        fuzz::check(host::decodeUnicodeEscapes(host::fromCp1252(host::toCp1252(text))) == text,
                    "text changed by its Windows-1252 escapes");
    return 0;
}
