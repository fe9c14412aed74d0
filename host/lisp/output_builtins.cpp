// Output to the command line: values printed as the console prints them (PRIN1), as text (PRINC), and
// message boxes.
#include "host/editor/acut.h"
#include "host/editor/message_box.h"
#include "host/lisp/lisp_builtins.h"
#include "host/lisp/lisp_files.h"
#include "host/lisp/lisp_text.h"

namespace host {

namespace {

void show(const std::wstring& text) {
    acutPrintf(L"%s", text.c_str());
}

// (PRINC [value [file]]): without a value, the quiet symbol that makes the console print nothing.
LispBuiltin printed(bool readable, const wchar_t* before, const wchar_t* after) {
    return lispFunction([=](std::optional<LispValue> value, std::optional<LispValue> file) {
        if (!value) return LispValue::fromSymbol(L"");
        std::wstring text = before + printLisp(*value, readable) + after;
        if (file && !file->isNil())
            writeToLispFile(*file, text);
        else
            show(text);
        return *value;
    });
}

} // namespace

const LispBuiltinTable& outputBuiltins() {
    static const LispBuiltinTable table = {
        {L"PRINC", printed(false, L"", L"")},
        {L"PRIN1", printed(true, L"", L"")},
        {L"PRINT", printed(true, L"\n", L" ")},
        {L"TERPRI", lispFunction([](std::optional<LispValue> file) {
             if (file && !file->isNil())
                 writeToLispFile(*file, L"\n");
             else
                 show(L"\n");
             return LispValue::nil();
         })},
        {L"PROMPT", lispFunction([](const std::wstring& text) {
             show(text);
             return LispValue::nil();
         })},
        {L"ALERT", lispFunction([](const std::wstring& text) {
             acedAlert(text.c_str());
             return LispValue::nil();
         })},
    };
    return table;
}

} // namespace host
