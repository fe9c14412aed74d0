#pragma once
// The LISP functions VLAX-CURVE-...: the curve protocol of an entity, named first, for any curve the drawing
// holds. A failing status answers nil.
#include "host/lisp/lisp_builtins.h"

namespace host {

const LispBuiltinTable& curveBuiltins();

} // namespace host
