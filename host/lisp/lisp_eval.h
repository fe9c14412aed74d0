#pragma once
// The host's LISP evaluator: AutoLISP's rules. A list calls the function its head names: a special form
// (host/lisp/lisp_forms.h) with its arguments as written, else a function defined with DEFUN or LAMBDA, a
// built-in (host/lisp/lisp_builtins.h) or a module's function, with its arguments evaluated. Symbols
// evaluate to their values (nil when unbound; a built-in's name to the built-in). Variables are dynamic: a
// function's arguments and locals hide the symbols' values while it runs and give them back when it ends,
// by an error too.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/lisp/lisp_args.h"

namespace host {

// Throws LispError ("fonction inconnue: FOO", "type d'argument incorrect: ...", "trop d'arguments", ...).
LispValue evaluateLisp(const LispValue& expression);
// Calls a function value: a DEFUN or LAMBDA function, a built-in, a symbol naming a function, or a list
// (LAMBDA args body...). Throws LispError when it is none of them.
LispValue applyLisp(const LispValue& function, const LispArgs& args);
// Evaluates the forms one after the other; the value of the last (nil when none).
LispValue evaluateForms(std::span<const LispValue> forms, std::size_t first = 0);

// Evaluates the forms of a LISP file; the value of the last. Throws LispError when it cannot be read or a
// form fails.
LispValue loadLispFile(const std::wstring& path);

// Reads and evaluates every expression of `text` as the console does: each value printed on a line of its
// own (not the quiet value of (PRINC)), or the error ends the text, reported as `reportLispError` does; its
// message then in `error` when given. The last value printed, or an empty text.
std::wstring runLispConsole(std::wstring_view text, std::wstring* error = nullptr);
// The end of an evaluation by an error: *ERROR* is called with the message when it is a function, else
// "; erreur: MESSAGE" is printed. Nothing for an error already reported.
void reportLispError(const LispError& error);
// While one lives, errors are caught by the caller (VL-CATCH-ALL-APPLY) and *ERROR* is not called.
class CatchingLispErrors {
public:
    CatchingLispErrors();
    ~CatchingLispErrors();
    CatchingLispErrors(const CatchingLispErrors&) = delete;
    CatchingLispErrors& operator=(const CatchingLispErrors&) = delete;
};
// While one lives, a LISP program runs: a prompt it asks cannot evaluate an expression typed there (LISP is
// not entered again while it waits).
class RunningLisp {
public:
    RunningLisp();
    ~RunningLisp();
    RunningLisp(const RunningLisp&) = delete;
    RunningLisp& operator=(const RunningLisp&) = delete;
    static bool active();
};
// Gives *ERROR* an error inside a function, where the function's locals (a local *ERROR* among them) are
// still bound, unless a caller catches errors; the error then goes on as ReportedLispError.
[[noreturn]] void raiseFromFunction(const LispError& error);

// Whether "C:NAME" is a function (defined in LISP or by a module), which is then a command.
bool isLispCommand(const std::wstring& upperName);
// Runs the command C:NAME; an error is reported as `reportLispError` does and its message answered ("" when
// none).
std::wstring runLispCommand(const std::wstring& upperName);
// The names of the functions the host itself defines (special forms among them), sorted; modules define
// more.
std::vector<std::wstring> hostLispFunctionNames();

} // namespace host
