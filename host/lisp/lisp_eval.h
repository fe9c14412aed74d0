#pragma once
// The host's small LISP: evaluation of what the reader gives, with the few functions a session needs to
// hand entities to the functions that applications define: QUOTE, SETQ, LIST, CONS, CAR, CDR, NTH, ENTLAST,
// ENTNEXT, ENTGET and ENTMOD, and the curve functions VLAX-CURVE-... (host/lisp/curve_builtins.h). Symbols
// evaluate to their values (nil when unbound).
#include <string>
#include <string_view>
#include <vector>

#include "host/lisp/lisp_value.h"

namespace host {

// Throws LispError ("fonction inconnue: FOO", "type d'argument incorrect: ...", "trop d'arguments", ...).
LispValue evaluateLisp(const LispValue& expression);
// Reads and evaluates every expression of `text` as the console does: each value printed on a line of its
// own, or "; erreur: " and the message; an error ends the text, its message then in `error` when given.
// The last value printed, or an empty text.
std::wstring runLispConsole(std::wstring_view text, std::wstring* error = nullptr);
// The names of the functions the host itself defines (QUOTE and SETQ among them), sorted; modules define
// more.
std::vector<std::wstring> hostLispFunctionNames();

} // namespace host
