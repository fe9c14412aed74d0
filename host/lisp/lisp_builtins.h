#pragma once
// The host's built-in LISP functions, one table per area, each in the file named after it. A built-in gets
// its arguments evaluated; the special forms that take theirs unevaluated are the evaluator's
// (host/lisp/lisp_forms.h).
#include <functional>
#include <map>
#include <string>

#include "host/lisp/lisp_args.h"

namespace host {

using LispBuiltin = std::function<LispValue(const LispArgs&)>;
// By upper-case name.
using LispBuiltinTable = std::map<std::wstring, LispBuiltin>;

const LispBuiltinTable& numberBuiltins();
const LispBuiltinTable& listBuiltins();
const LispBuiltinTable& stringBuiltins();
const LispBuiltinTable& unitTextBuiltins();
const LispBuiltinTable& geometryBuiltins();
const LispBuiltinTable& entityBuiltins();
const LispBuiltinTable& tableBuiltins();
const LispBuiltinTable& selectionBuiltins();
const LispBuiltinTable& inputBuiltins();
const LispBuiltinTable& outputBuiltins();
const LispBuiltinTable& fileBuiltins();
const LispBuiltinTable& commandBuiltins();
const LispBuiltinTable& controlBuiltins();

} // namespace host
