#include "host/input/typed_lisp.h"

#include <algorithm>

#include "host/editor/acut.h"
#include "host/input/prompt_input.h"
#include "host/input/text_numbers.h"
#include "host/lisp/lisp_answers.h"
#include "host/lisp/lisp_eval.h"
#include "host/lisp/lisp_text.h"

namespace host {

namespace {

// A program waiting at one of its own prompts cannot be entered again; only a variable's value can be read.
bool reentersLisp(const std::vector<LispValue>& expressions) {
    return RunningLisp::active() &&
           !std::ranges::all_of(expressions, [](const LispValue& e) { return e.kind != LispValue::List; });
}

} // namespace

TypedLisp evaluateTypedLisp(std::wstring_view text, InputItem& answer) {
    const std::wstring line = trim(text);
    const bool bang = line.size() > 1 && line[0] == L'!';
    if (!bang && (line.empty() || line[0] != L'(')) return TypedLisp::NotLisp;
    try {
        const std::vector<LispValue> expressions = readLisp(bang ? line.substr(1) : line);
        if (reentersLisp(expressions)) {
            printMessage(L"\n*Incorrect* Impossible de réentrer dans LISP.");
            return TypedLisp::AskAgain;
        }
        RunningLisp running;
        LispValue value;
        for (const LispValue& e : expressions)
            value = evaluateLisp(e);
        if (value.isNil()) return TypedLisp::AskAgain;
        // "\\" stands for PAUSE only among COMMAND's answers; typed here it is a text like any other.
        if (!lispAnswerItem(value, answer)) answer = lineItem(value.text);
    } catch (const LispError& failure) {
        reportLispError(failure);
        endMessageLine();
        return TypedLisp::AskAgain;
    }
    answer.echo.clear();
    return TypedLisp::Answered;
}

} // namespace host
