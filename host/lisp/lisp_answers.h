#pragma once
// A LISP value given as the answer to a prompt, as the user would give it: a string or a number as the text
// typed ("" as Enter), a point as a point picked, an entity name as a pick, a selection set as a selection.
#include "host/input/input_queue.h"
#include "host/lisp/lisp_value.h"

namespace host {

// False for PAUSE ("\\"), which the user answers. Throws LispError for a value no prompt takes.
bool lispAnswerItem(const LispValue& v, InputItem& item);

} // namespace host
