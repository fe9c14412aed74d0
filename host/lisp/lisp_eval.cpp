#include "host/lisp/lisp_eval.h"

#include <algorithm>
#include <functional>
#include <map>

#include "host/db/system_variables.h"
#include "host/editor/acut.h"
#include "host/filing/text_codec.h"
#include "host/lisp/curve_builtins.h"
#include "host/lisp/entity_lists.h"
#include "host/lisp/lisp_functions.h"
#include "host/lisp/lisp_symbols.h"
#include "host/lisp/lisp_text.h"
#include "host/selection/selection_sets.h"
#include "host/selection/ssget.h"

namespace host {

namespace {

using Args = std::vector<LispValue>;

[[noreturn]] void badArgument(const std::string& what, const LispValue& v) {
    throw LispError("type d'argument incorrect: " + what + " " + toUtf8(printLisp(v)));
}

const LispValue& entityName(const LispValue& v) {
    if (v.kind != LispValue::EntityName) badArgument("lentityp", v);
    return v;
}

LispValue nameOrNil(int rc, const ads_name name) {
    return rc == RTNORM ? LispValue::fromName(name) : LispValue::nil();
}

// The items of a list (nil is the empty list); a dotted pair's cdr is not an item.
const std::vector<LispValue>& listItems(const LispValue& v) {
    static const std::vector<LispValue> none;
    if (v.kind == LispValue::Nil) return none;
    if (v.kind != LispValue::List) badArgument("consp", v);
    return v.items;
}

LispValue cdr(const LispValue& v) {
    const std::vector<LispValue>& items = listItems(v);
    if (items.empty()) return LispValue::nil();
    if (v.dotted && items.size() == 2) return items[1];
    LispValue rest = LispValue::list(std::vector<LispValue>(items.begin() + 1, items.end()), v.dotted);
    return rest.items.empty() ? LispValue::nil() : rest;
}

LispValue chainValue(resbuf* chain) {
    if (!chain) return LispValue::nil();
    LispValue v = LispValue::list(fromResbufs(chain));
    acutRelRb(chain);
    return v;
}

const std::wstring& variableName(const LispValue& v) {
    if (v.kind != LispValue::String) badArgument("stringp", v);
    return v.text;
}

double number(const LispValue& v) {
    if (v.kind == LispValue::Integer) return static_cast<double>(v.integer);
    if (v.kind == LispValue::Real) return v.real;
    badArgument("numberp", v);
}

// The value of a system variable as SETVAR hands it over: a list of two or three numbers is a point.
LispValue setVariable(const std::wstring& name, const LispValue& value) {
    resbuf rb{};
    std::wstring text;
    switch (value.kind) {
    case LispValue::Integer:
        rb.restype = RTSHORT;
        rb.resval.rint = static_cast<short>(value.integer);
        break;
    case LispValue::Real:
        rb.restype = RTREAL;
        rb.resval.rreal = value.real;
        break;
    case LispValue::String:
        text = value.text;
        rb.restype = RTSTR;
        rb.resval.rstring = text.data();
        break;
    case LispValue::List: {
        const std::vector<LispValue>& items = listItems(value);
        if (items.size() < 2 || items.size() > 3 || value.dotted) badArgument("point", value);
        rb.restype = RT3DPOINT;
        for (std::size_t i = 0; i < items.size(); ++i)
            rb.resval.rpoint[i] = number(items[i]);
        break;
    }
    default:
        badArgument("valeur de variable", value);
    }
    if (acedSetVar(name.c_str(), &rb) != RTNORM)
        throw LispError("rejet de (SETVAR \"" + toUtf8(name) + "\" " + toUtf8(printLisp(value)) + ")");
    return value;
}

LispValue getVariable(const std::wstring& name) {
    resbuf rb{};
    if (acedGetVar(name.c_str(), &rb) != RTNORM) return LispValue::nil();
    rb.rbnext = nullptr;
    std::vector<LispValue> values = fromResbufs(&rb);
    if (rb.restype == RTSTR) acutDelString(rb.resval.rstring);
    return values.empty() ? LispValue::nil() : values.front();
}

using Builtin = std::function<LispValue(const Args&)>;

const std::map<std::wstring, Builtin>& builtins() {
    static const std::map<std::wstring, Builtin> table = {
        {L"LIST", [](const Args& a) { return a.empty() ? LispValue::nil() : LispValue::list(a); }},
        {L"CONS",
         [](const Args& a) {
             checkArity(a, 2, 2);
             if (a[1].kind == LispValue::Nil) return LispValue::list({a[0]});
             if (a[1].kind == LispValue::List && !a[1].dotted) {
                 Args items = a[1].items;
                 items.insert(items.begin(), a[0]);
                 return LispValue::list(std::move(items));
             }
             return LispValue::list({a[0], a[1]}, true);
         }},
        {L"CAR",
         [](const Args& a) {
             checkArity(a, 1, 1);
             const std::vector<LispValue>& items = listItems(a[0]);
             return items.empty() ? LispValue::nil() : items.front();
         }},
        {L"CDR",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return cdr(a[0]);
         }},
        {L"NTH",
         [](const Args& a) {
             checkArity(a, 2, 2);
             if (a[0].kind != LispValue::Integer || a[0].integer < 0) badArgument("fixnump", a[0]);
             const std::vector<LispValue>& items = listItems(a[1]);
             auto n = static_cast<std::size_t>(a[0].integer);
             return n < items.size() - (a[1].dotted ? 1 : 0) ? items[n] : LispValue::nil();
         }},
        {L"SETVAR",
         [](const Args& a) {
             checkArity(a, 2, 2);
             return setVariable(variableName(a[0]), a[1]);
         }},
        {L"GETVAR",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return getVariable(variableName(a[0]));
         }},
        {L"ENTLAST",
         [](const Args& a) {
             checkArity(a, 0, 0);
             ads_name n;
             return nameOrNil(acdbEntLast(n), n);
         }},
        {L"ENTNEXT",
         [](const Args& a) {
             checkArity(a, 0, 1);
             ads_name n;
             return nameOrNil(acdbEntNext(a.empty() ? nullptr : entityName(a[0]).name, n), n);
         }},
        {L"ENTGET",
         [](const Args& a) {
             checkArity(a, 1, 2);
             resbuf* apps = a.size() > 1 ? toResbufs(listItems(a[1])) : nullptr;
             resbuf* list = acdbEntGetX(entityName(a[0]).name, apps);
             acutRelRb(apps);
             return chainValue(list);
         }},
        {L"SSGET",
         [](const Args& a) {
             // ("X" [filter]) takes the drawing's entities; with no argument the user selects at the prompt.
             checkArity(a, 0, 2);
             if (!a.empty() && a[0].kind != LispValue::String) badArgument("stringp", a[0]);
             resbuf* filter = a.size() > 1 ? toResbufs(listItems(a[1])) : nullptr;
             ads_name ss;
             int rc = acedSSGet(a.empty() ? nullptr : a[0].text.c_str(), nullptr, nullptr, filter, ss);
             acutRelRb(filter);
             return rc == RTNORM ? LispValue::fromName(ss, LispValue::PickSet) : LispValue::nil();
         }},
        {L"SSLENGTH",
         [](const Args& a) {
             checkArity(a, 1, 1);
             if (a[0].kind != LispValue::PickSet) badArgument("lselsetp", a[0]);
             Adesk::Int32 length = 0;
             return acedSSLength(a[0].name, &length) == RTNORM ? LispValue::fromInteger(length)
                                                               : LispValue::nil();
         }},
        {L"ENTMOD",
         [](const Args& a) {
             checkArity(a, 1, 1);
             resbuf* chain = toResbufs(listItems(a[0]));
             int rc = acdbEntMod(chain);
             acutRelRb(chain);
             return rc == RTNORM ? a[0] : LispValue::nil();
         }},
    };
    return table;
}

LispValue evaluateList(const LispValue& expression) {
    const LispValue& head = expression.items.front();
    if (expression.dotted) throw LispError("appel de fonction incorrect: " + toUtf8(printLisp(expression)));
    if (head.kind != LispValue::Symbol) throw LispError("fonction incorrecte: " + toUtf8(printLisp(head)));
    Args rest(expression.items.begin() + 1, expression.items.end());
    if (head.text == L"QUOTE") {
        checkArity(rest, 1, 1);
        return rest[0];
    }
    if (head.text == L"SETQ") {
        if (rest.empty() || rest.size() % 2) throw LispError("nombre d'arguments insuffisants");
        LispValue value;
        for (std::size_t i = 0; i < rest.size(); i += 2) {
            if (rest[i].kind != LispValue::Symbol) badArgument("symbolp", rest[i]);
            value = evaluateLisp(rest[i + 1]);
            setLispSymbol(rest[i].text, value);
        }
        return value;
    }
    Args args;
    for (const LispValue& e : rest)
        args.push_back(evaluateLisp(e));
    auto builtin = builtins().find(head.text);
    if (builtin != builtins().end()) return builtin->second(args);
    auto curveBuiltin = curveBuiltins().find(head.text);
    if (curveBuiltin != curveBuiltins().end()) return curveBuiltin->second(args);
    return callLispFunction(head.text, args);
}

} // namespace

std::vector<std::wstring> hostLispFunctionNames() {
    std::vector<std::wstring> names = {L"QUOTE", L"SETQ"};
    for (const auto& [name, function] : builtins())
        names.push_back(name);
    for (const auto& [name, function] : curveBuiltins())
        names.push_back(name);
    std::ranges::sort(names);
    return names;
}

LispValue evaluateLisp(const LispValue& expression) {
    switch (expression.kind) {
    case LispValue::Symbol:
        return lispSymbol(expression.text);
    case LispValue::List:
        return expression.items.empty() ? LispValue::nil() : evaluateList(expression);
    default:
        return expression;
    }
}

std::wstring runLispConsole(std::wstring_view text, std::wstring* error) {
    std::wstring last;
    try {
        for (const LispValue& e : readLisp(text)) {
            last = printLisp(evaluateLisp(e));
            acutPrintf(L"\n%s", last.c_str());
        }
    } catch (const LispError& failure) {
        std::wstring message = fromUtf8(failure.what());
        acutPrintf(L"\n; erreur: %s", message.c_str());
        if (error) *error = std::move(message);
        return L"";
    }
    return last;
}

} // namespace host
