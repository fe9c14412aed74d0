// The host's system variables (GETVAR, SETVAR) and its commands run from LISP (COMMAND, VL-CMDF).
#include "host/db/system_variables.h"
#include "host/filing/text_codec.h"
#include "host/lisp/lisp_builtins.h"
#include "host/lisp/lisp_text.h"

namespace host {

namespace {

using Args = LispArgs;

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
        AcGePoint3d p = pointArgument(value);
        rb.restype = RT3DPOINT;
        rb.resval.rpoint[0] = p.x;
        rb.resval.rpoint[1] = p.y;
        rb.resval.rpoint[2] = p.z;
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

} // namespace

const LispBuiltinTable& commandBuiltins() {
    static const LispBuiltinTable table = {
        {L"SETVAR",
         [](const Args& a) {
             checkArity(a, 2, 2);
             return setVariable(stringArgument(a[0]), a[1]);
         }},
        {L"GETVAR",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return getVariable(stringArgument(a[0]));
         }},
    };
    return table;
}

} // namespace host
