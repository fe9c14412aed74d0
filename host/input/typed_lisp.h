#pragma once
// A LISP expression typed at a command's prompt, as a CAD program takes one: "(...)" is evaluated and "!name"
// gives the symbol's value; the value answers the prompt as if the user had given it (a point list a point
// picked, a number or a string the text typed). A LISP error prints its message and the prompt asks again.
#include <string_view>

#include "host/input/input_queue.h"

namespace host {

enum class TypedLisp {
    NotLisp,  // the text is no LISP expression: the prompt reads it as typed
    Answered, // `answer` holds the value as an input item
    AskAgain, // an error, a nil value or LISP already running: the prompt asks again
};

TypedLisp evaluateTypedLisp(std::wstring_view text, InputItem& answer);

} // namespace host
