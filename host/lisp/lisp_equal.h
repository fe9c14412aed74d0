#pragma once
// EQUAL: the same value, numbers within `fuzz` of each other (an integer equals the real of its value),
// lists item by item.
#include "host/lisp/lisp_value.h"

namespace host {

bool lispEqual(const LispValue& a, const LispValue& b, double fuzz);

} // namespace host
