// Output to the command line: values printed as the console prints them (PRIN1), as text (PRINC), and
// message boxes.
#include "host/editor/acut.h"
#include "host/editor/message_box.h"
#include "host/lisp/lisp_builtins.h"
#include "host/lisp/lisp_files.h"
#include "host/lisp/lisp_text.h"

namespace host {

namespace {

using Args = LispArgs;

void show(const std::wstring& text) {
    acutPrintf(L"%s", text.c_str());
}

// (PRINC [value [file]]): without a value, the quiet symbol that makes the console print nothing.
LispValue printed(const Args& a, bool readable, const wchar_t* before, const wchar_t* after) {
    checkArity(a, 0, 2);
    if (a.empty()) return LispValue::fromSymbol(L"");
    std::wstring text = before + printLisp(a[0], readable) + after;
    if (a.size() > 1 && !a[1].isNil())
        writeToLispFile(a[1], text);
    else
        show(text);
    return a[0];
}

} // namespace

const LispBuiltinTable& outputBuiltins() {
    static const LispBuiltinTable table = {
        {L"PRINC", [](const Args& a) { return printed(a, false, L"", L""); }},
        {L"PRIN1", [](const Args& a) { return printed(a, true, L"", L""); }},
        {L"PRINT", [](const Args& a) { return printed(a, true, L"\n", L" "); }},
        {L"TERPRI",
         [](const Args& a) {
             checkArity(a, 0, 1);
             if (!a.empty() && !a[0].isNil())
                 writeToLispFile(a[0], L"\n");
             else
                 show(L"\n");
             return LispValue::nil();
         }},
        {L"PROMPT",
         [](const Args& a) {
             checkArity(a, 1, 1);
             show(stringArgument(a[0]));
             return LispValue::nil();
         }},
        {L"ALERT",
         [](const Args& a) {
             checkArity(a, 1, 1);
             acedAlert(stringArgument(a[0]).c_str());
             return LispValue::nil();
         }},
    };
    return table;
}

} // namespace host
