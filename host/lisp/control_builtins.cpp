// The functions about evaluation itself: EVAL and APPLY, errors caught and raised, symbols and the types of
// values, loading files.
#include <filesystem>

#include "host/editor/find_file.h"
#include "host/filing/file_bytes.h"
#include "host/filing/text_codec.h"
#include "host/lisp/lisp_builtins.h"
#include "host/lisp/lisp_eval.h"
#include "host/lisp/lisp_symbols.h"
#include "host/lisp/lisp_text.h"

namespace host {

namespace {

const std::wstring& symbolArgument(const LispValue& v) {
    if (v.kind != LispValue::Symbol) badArgument("symbolp", v);
    return v.text;
}

LispValue typeOf(const LispValue& v) {
    switch (v.kind) {
    case LispValue::Nil:
        return LispValue::nil();
    case LispValue::True:
    case LispValue::Symbol:
        return LispValue::fromSymbol(L"SYM");
    case LispValue::Integer:
        return LispValue::fromSymbol(L"INT");
    case LispValue::Real:
        return LispValue::fromSymbol(L"REAL");
    case LispValue::String:
        return LispValue::fromSymbol(L"STR");
    case LispValue::EntityName:
        return LispValue::fromSymbol(L"ENAME");
    case LispValue::PickSet:
        return LispValue::fromSymbol(L"PICKSET");
    case LispValue::List:
        return LispValue::fromSymbol(v.items.empty() ? L"NIL" : L"LIST");
    case LispValue::Function:
        return LispValue::fromSymbol(L"USUBR");
    case LispValue::Builtin:
        return LispValue::fromSymbol(L"SUBR");
    case LispValue::File:
        return LispValue::fromSymbol(L"FILE");
    case LispValue::CaughtError:
        return LispValue::fromSymbol(L"VL-CATCH-ALL-APPLY-ERROR");
    }
    return LispValue::nil();
}

// The support path finds NAME, NAME.lsp, or the same with the extension given.
std::wstring findLispFile(const std::wstring& name) {
    ACHAR found[4096];
    for (const std::wstring& candidate : {name + L".lsp", name})
        if (acedFindFile(candidate.c_str(), found, std::size(found)) == RTNORM) return found;
    return L"";
}

// (LOAD name [on-failure]): the value of the file's last form; without the file, the on-failure value or
// an error naming it.
LispValue load(const std::wstring& name, std::optional<LispValue> onFailure) {
    std::wstring path = findLispFile(name);
    if (path.empty()) {
        if (onFailure) return *onFailure;
        throw LispError("LOAD a échoué: \"" + toUtf8(name) + "\"");
    }
    return loadLispFile(path);
}

LispValue apply(const LispValue& function, const LispValue& arguments) {
    return applyLisp(function, argumentsOf(listArgument(arguments)));
}

LispValue catchAllApply(const LispValue& function, const LispValue& arguments) {
    try {
        CatchingLispErrors catching;
        return apply(function, arguments);
    } catch (const LispError& failure) {
        return LispValue::named(LispValue::CaughtError, fromUtf8(failure.what()));
    }
}

LispValue quit() {
    throw LispError("quitter / sortir abandon");
}

} // namespace

LispValue loadLispFile(const std::wstring& path) {
    std::string reason;
    std::optional<std::string> content = readFileBytes(path, &reason);
    if (!content) throw LispError("LOAD a échoué: \"" + toUtf8(path) + "\": " + reason);
    RunningLisp running;
    return evaluateForms(readLisp(decodeLispFile(*content)));
}

const LispBuiltinTable& controlBuiltins() {
    static const LispBuiltinTable table = {
        {L"EVAL", lispFunction([](const LispValue& v) { return evaluateLisp(v); })},
        {L"APPLY", lispFunction(apply)},
        {L"SET", lispFunction([](const LispValue& symbol, const LispValue& value) {
             setLispSymbol(symbolArgument(symbol), value);
             return value;
         })},
        {L"BOUNDP", lispFunction([](const LispValue& v) {
             return truth(v.kind == LispValue::Symbol && findLispSymbol(v.text));
         })},
        {L"TYPE", lispFunction(typeOf)},
        {L"NULL", lispFunction([](bool v) { return truth(!v); })},
        {L"NOT", lispFunction([](bool v) { return truth(!v); })},
        {L"ATOM", lispFunction([](const LispValue& v) {
             return truth(v.kind != LispValue::List || v.items.empty());
         })},
        {L"LISTP", lispFunction([](const LispValue& v) {
             return truth(v.kind == LispValue::List || v.kind == LispValue::Nil);
         })},
        {L"VL-CATCH-ALL-APPLY", lispFunction(catchAllApply)},
        {L"VL-CATCH-ALL-ERROR-P",
         lispFunction([](const LispValue& v) { return truth(v.kind == LispValue::CaughtError); })},
        {L"VL-CATCH-ALL-ERROR-MESSAGE", lispFunction([](const LispValue& v) {
             if (v.kind != LispValue::CaughtError) badArgument("vl-catch-all-apply-error-p", v);
             return LispValue::fromString(v.text);
         })},
        {L"EXIT", lispFunction(quit)},
        {L"QUIT", lispFunction(quit)},
        {L"LOAD", lispFunction(load)},
    };
    return table;
}

} // namespace host
