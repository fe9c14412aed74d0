#pragma once
// The special forms: functions that take their arguments as written (QUOTE, SETQ, DEFUN, IF, WHILE, ...).
#include <map>
#include <span>
#include <string>
#include <vector>

#include "host/lisp/lisp_value.h"

namespace host {

// The whole form, head included.
using LispSpecialForm = LispValue (*)(std::span<const LispValue> form);

// By upper-case name.
const std::map<std::wstring, LispSpecialForm>& specialForms();

// The value of a DEFUN or LAMBDA function called with evaluated arguments.
LispValue callDefinedFunction(const LispValue& function, const std::vector<LispValue>& args);

} // namespace host
