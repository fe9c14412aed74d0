// LISP text and script lines as a user or a file types them: the reader gives values or a LISP error with a
// message, and every value it gives prints to a text that reads back to a value printing the same; each
// line is read as a script line or refused with a message.
#include "host/filing/text_codec.h"
#include "host/input/script_line.h"
#include "host/lisp/lisp_text.h"
#include "tests/fuzz/fuzz_check.h"

#include <string_view>

namespace {

void readAndPrint(const std::wstring& text) {
    std::vector<host::LispValue> values;
    try {
        values = host::readLisp(text);
    } catch (const host::LispError& e) {
        fuzz::check(*e.what() != '\0', "text refused without a message");
        return;
    }
    for (const host::LispValue& value : values) {
        const std::wstring printed = host::printLisp(value);
        std::vector<host::LispValue> again;
        try {
            again = host::readLisp(printed);
        } catch (const host::LispError& e) {
            fuzz::fail("a printed value does not read back: " + host::toUtf8(printed) + ": " + e.what());
        }
        fuzz::check(again.size() == 1 && host::printLisp(again.front()) == printed,
                    "a printed value reads back as another: " + host::toUtf8(printed));
    }
}

void readScriptLines(std::wstring_view text) {
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of(L"\r\n"), text.size());
        std::vector<host::InputItem> items;
        std::wstring error;
        if (!host::parseScriptLine(text.substr(0, end), items, error))
            fuzz::check(!error.empty(), "a script line refused without a message");
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = host::fromUtf8(fuzz::bytes(data, size));
    // A symbol named with a NUL does not print back to its name: values are held to reading back only
    // from the text before one.
    readAndPrint(text.substr(0, text.find(L'\0')));
    readScriptLines(text);
    host::typedItems(text);
    return 0;
}
