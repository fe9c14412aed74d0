#include "host/lisp/lisp_eval.h"

#include <algorithm>
#include <unordered_map>

#include "host/editor/acut.h"
#include "host/filing/text_codec.h"
#include "host/lisp/curve_builtins.h"
#include "host/lisp/lisp_builtins.h"
#include "host/lisp/lisp_forms.h"
#include "host/lisp/lisp_functions.h"
#include "host/lisp/lisp_symbols.h"
#include "host/lisp/lisp_text.h"

namespace host {

namespace {

// What a name at the head of a list calls, when no DEFUN has bound it to a function.
struct Callable {
    LispSpecialForm form = nullptr;
    const LispBuiltin* builtin = nullptr;
};

const std::unordered_map<std::wstring, Callable>& callables() {
    static const std::unordered_map<std::wstring, Callable> table = [] {
        std::unordered_map<std::wstring, Callable> t;
        for (const LispBuiltinTable* area :
             {&numberBuiltins(), &listBuiltins(), &stringBuiltins(), &unitTextBuiltins(), &geometryBuiltins(),
              &entityBuiltins(), &tableBuiltins(), &selectionBuiltins(), &outputBuiltins(), &inputBuiltins(),
              &fileBuiltins(), &commandBuiltins(), &controlBuiltins(), &curveBuiltins()})
            for (const auto& [name, builtin] : *area)
                t[name].builtin = &builtin;
        for (const auto& [name, form] : specialForms())
            t[name].form = form;
        return t;
    }();
    return table;
}

const LispBuiltin* builtinNamed(const std::wstring& name) {
    auto it = callables().find(name);
    return it == callables().end() ? nullptr : it->second.builtin;
}

LispArgs evaluateArguments(std::span<const LispValue> form) {
    LispArgs args;
    args.reserve(form.size() - 1);
    for (std::size_t i = 1; i < form.size(); ++i)
        args.push_back(evaluateLisp(form[i]));
    return args;
}

[[noreturn]] void unknownFunction(const LispValue& head) {
    throw LispError("fonction inconnue: " + toUtf8(printLisp(head)));
}

// What the name of a symbol calls among the host's forms and built-ins, found once per symbol.
const Callable* callableOf(LispSymbolSlot& slot, const std::wstring& name) {
    if (!slot.callableLooked) {
        auto it = callables().find(name);
        slot.callable = it == callables().end() ? nullptr : &it->second;
        slot.callableLooked = true;
    }
    return static_cast<const Callable*>(slot.callable);
}

// What a module defines under the name of a symbol, looked up again only once the modules' functions change.
const ModuleFunction* moduleFunctionOf(LispSymbolSlot& slot, const std::wstring& name) {
    if (slot.moduleFunctionVersion != lispFunctionsVersion()) {
        slot.moduleFunction = findLispFunction(name);
        slot.moduleFunctionVersion = lispFunctionsVersion();
    }
    return slot.moduleFunction;
}

// (NAME args...): NAME bound by DEFUN first, as a routine may redefine a built-in, then the host's, then a
// module's.
LispValue callNamed(const LispValue& form) {
    const LispValue& head = form.items.front();
    LispSymbolSlot& slot = slotOf(head);
    if (slot.bound && (slot.value.kind == LispValue::Function || slot.value.kind == LispValue::Builtin)) {
        LispValue function = slot.value; // a DEFUN inside may rebind the name while it runs
        return applyLisp(function, evaluateArguments(form.items));
    }
    if (const Callable* callable = callableOf(slot, head.text)) {
        if (callable->form) return callable->form(form.items);
        return (*callable->builtin)(evaluateArguments(form.items));
    }
    if (moduleFunctionOf(slot, head.text)) {
        const LispArgs args = evaluateArguments(form.items);
        // Found again: evaluating the arguments may have unloaded the module.
        if (const ModuleFunction* function = moduleFunctionOf(slot, head.text))
            return callLispFunction(*function, head.text, args);
    }
    unknownFunction(head);
}

LispValue evaluateList(const LispValue& form) {
    const LispValue& head = form.items.front();
    if (form.dotted) throw LispError("appel de fonction incorrect: " + toUtf8(printLisp(form)));
    if (head.kind == LispValue::Symbol) return callNamed(form);
    if (head.kind == LispValue::List || head.kind == LispValue::Function || head.kind == LispValue::Builtin)
        return applyLisp(head.kind == LispValue::List ? evaluateLisp(head) : head,
                         evaluateArguments(form.items));
    throw LispError("fonction incorrecte: " + toUtf8(printLisp(head)));
}

bool isLambda(const LispValue& v) {
    return v.kind == LispValue::List && !v.items.empty() && v.items[0].kind == LispValue::Symbol &&
           v.items[0].text == L"LAMBDA";
}

// The quiet value of (PRINC): a routine ends with it so that the console shows nothing.
bool isQuiet(const LispValue& v) {
    return v.kind == LispValue::Symbol && v.text.empty();
}

} // namespace

LispValue evaluateLisp(const LispValue& expression) {
    switch (expression.kind) {
    case LispValue::Symbol: {
        LispSymbolSlot& slot = slotOf(expression);
        if (slot.bound) return slot.value;
        const Callable* callable = callableOf(slot, expression.text);
        if (callable && callable->builtin) return LispValue::named(LispValue::Builtin, expression.text);
        return LispValue::nil();
    }
    case LispValue::List:
        return expression.items.empty() ? LispValue::nil() : evaluateList(expression);
    default:
        return expression;
    }
}

LispValue evaluateForms(std::span<const LispValue> forms, std::size_t first) {
    LispValue value;
    for (std::size_t i = first; i < forms.size(); ++i)
        value = evaluateLisp(forms[i]);
    return value;
}

LispValue applyLisp(const LispValue& function, const LispArgs& args) {
    switch (function.kind) {
    case LispValue::Function:
        return callDefinedFunction(function, args);
    case LispValue::Builtin:
        if (const LispBuiltin* builtin = builtinNamed(function.text)) return (*builtin)(args);
        return callLispFunction(function.text, args);
    case LispValue::Symbol: {
        const LispValue* bound = findLispSymbol(function.text);
        if (bound && (bound->kind == LispValue::Function || bound->kind == LispValue::Builtin)) {
            LispValue value = *bound;
            return applyLisp(value, args);
        }
        if (const LispBuiltin* builtin = builtinNamed(function.text)) return (*builtin)(args);
        if (isLispFunctionDefined(function.text)) return callLispFunction(function.text, args);
        unknownFunction(function);
    }
    case LispValue::List:
        if (isLambda(function)) return callDefinedFunction(evaluateLisp(function), args);
        break;
    default:
        break;
    }
    throw LispError("fonction incorrecte: " + toUtf8(printLisp(function)));
}

namespace {
int catchDepth = 0;
int runningDepth = 0;
} // namespace

RunningLisp::RunningLisp() {
    ++runningDepth;
}

RunningLisp::~RunningLisp() {
    --runningDepth;
}

bool RunningLisp::active() {
    return runningDepth > 0;
}

CatchingLispErrors::CatchingLispErrors() {
    ++catchDepth;
}

CatchingLispErrors::~CatchingLispErrors() {
    --catchDepth;
}

void raiseFromFunction(const LispError& error) {
    if (catchDepth > 0 || dynamic_cast<const ReportedLispError*>(&error)) throw;
    reportLispError(error);
    throw ReportedLispError(error.what());
}

void reportLispError(const LispError& error) {
    if (dynamic_cast<const ReportedLispError*>(&error)) return;
    std::wstring text = fromUtf8(error.what());
    LispValue handler = lispSymbol(L"*ERROR*");
    if (handler.kind == LispValue::Function) {
        try {
            CatchingLispErrors handlerFailsAlone; // an error in *ERROR* is not given to it again
            applyLisp(handler, {LispValue::fromString(text)});
            return;
        } catch (const LispError& failure) {
            text = fromUtf8(failure.what()); // the handler's own failure is what the user sees
        }
    }
    acutPrintf(L"\n; erreur: %s", text.c_str());
}

std::wstring runLispConsole(std::wstring_view text, std::wstring* error) {
    std::wstring last;
    RunningLisp running;
    try {
        for (const LispValue& e : readLisp(text)) {
            LispValue value = evaluateLisp(e);
            if (isQuiet(value)) continue;
            last = printLisp(value);
            acutPrintf(L"\n%s", last.c_str());
        }
    } catch (const LispError& failure) {
        reportLispError(failure);
        if (error) *error = fromUtf8(failure.what());
        return L"";
    }
    return last;
}

bool isLispCommand(const std::wstring& upperName) {
    const std::wstring name = L"C:" + upperName;
    const LispValue* bound = findLispSymbol(name);
    return (bound && bound->kind == LispValue::Function) || isLispFunctionDefined(name);
}

std::wstring runLispCommand(const std::wstring& upperName) {
    RunningLisp running;
    try {
        applyLisp(LispValue::fromSymbol(L"C:" + upperName), {});
    } catch (const LispError& failure) {
        reportLispError(failure);
        return fromUtf8(failure.what());
    }
    return L"";
}

std::vector<std::wstring> hostLispFunctionNames() {
    std::vector<std::wstring> names;
    for (const auto& [name, callable] : callables())
        names.push_back(name);
    std::ranges::sort(names);
    return names;
}

} // namespace host
