// Selection sets: made by SSGET from a mode, points and a filter, read and changed member by member.
#include "host/lisp/lisp_builtins.h"
#include "host/selection/selection_sets.h"
#include "host/selection/ssget.h"

namespace host {

namespace {

using Args = LispArgs;

const LispValue& pickSet(const LispValue& v) {
    if (v.kind != LispValue::PickSet) badArgument("lselsetp", v);
    return v;
}

} // namespace

const LispBuiltinTable& selectionBuiltins() {
    static const LispBuiltinTable table = {
        {L"SSGET",
         [](const Args& a) {
             // ("X" [filter]) takes the drawing's entities; with no argument the user selects at the prompt.
             checkArity(a, 0, 2);
             if (!a.empty()) stringArgument(a[0]);
             resbuf* filter = a.size() > 1 ? toResbufs(listArgument(a[1])) : nullptr;
             ads_name ss;
             int rc = acedSSGet(a.empty() ? nullptr : a[0].text.c_str(), nullptr, nullptr, filter, ss);
             acutRelRb(filter);
             return rc == RTNORM ? LispValue::fromName(ss, LispValue::PickSet) : LispValue::nil();
         }},
        {L"SSLENGTH",
         [](const Args& a) {
             checkArity(a, 1, 1);
             Adesk::Int32 length = 0;
             return acedSSLength(pickSet(a[0]).name, &length) == RTNORM ? LispValue::fromInteger(length)
                                                                        : LispValue::nil();
         }},
        {L"SSNAME",
         [](const Args& a) {
             checkArity(a, 2, 2);
             ads_name n;
             int index = integerArgument(a[1]);
             return acedSSName(pickSet(a[0]).name, index, n) == RTNORM ? LispValue::fromName(n)
                                                                       : LispValue::nil();
         }},
    };
    return table;
}

} // namespace host
