#pragma once
// The LISP functions VLAX-CURVE-...: the curve protocol of an entity, named first, for any curve the drawing
// holds. A failing status answers nil.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/lisp/lisp_value.h"

namespace host {

using LispBuiltin = std::function<LispValue(const std::vector<LispValue>&)>;

// By upper-case name.
const std::map<std::wstring, LispBuiltin>& curveBuiltins();

} // namespace host
