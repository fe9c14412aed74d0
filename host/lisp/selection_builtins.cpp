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

const LispValue& entityName(const LispValue& v) {
    if (v.kind != LispValue::EntityName) badArgument("lentityp", v);
    return v;
}

// A filter: a list of groups, ((0 . "LINE") (8 . "ROUTE")).
bool isFilter(const LispValue& v) {
    return v.kind == LispValue::List && !v.items.empty() && v.items[0].kind == LispValue::List &&
           !v.items[0].items.empty() && v.items[0].items[0].kind == LispValue::Integer;
}

// (SSGET [mode] [point [point]] [filter]): "X" the drawing, "I" the pick-first set, "P" the previous set,
// "L" the last entity, ":S" one selection, none the user's choice or the entity under a point. Nil when
// nothing was chosen.
LispValue ssget(const Args& a) {
    checkArity(a, 0, 4);
    std::size_t i = 0;
    const wchar_t* mode = nullptr;
    if (i < a.size() && a[i].kind == LispValue::String) mode = a[i++].text.c_str();
    ads_point points[2];
    int pointCount = 0;
    while (i < a.size() && pointCount < 2 && isPointValue(a[i])) {
        AcGePoint3d p = pointArgument(a[i++]);
        points[pointCount][0] = p.x, points[pointCount][1] = p.y, points[pointCount][2] = p.z;
        ++pointCount;
    }
    resbuf* filter = nullptr;
    if (i < a.size() && isFilter(a[i])) filter = toResbufs(a[i++].items);
    if (i < a.size()) {
        acutRelRb(filter);
        badArgument("filtre de sélection", a[i]);
    }
    ads_name ss;
    int rc = acedSSGet(mode, pointCount > 0 ? points[0] : nullptr, pointCount > 1 ? points[1] : nullptr,
                       filter, ss);
    acutRelRb(filter);
    if (rc == RTCAN) throw LispError("Fonction annulée");
    return rc == RTNORM ? LispValue::fromName(ss, LispValue::PickSet) : LispValue::nil();
}

} // namespace

const LispBuiltinTable& selectionBuiltins() {
    static const LispBuiltinTable table = {
        {L"SSGET", ssget},
        {L"SSLENGTH",
         [](const Args& a) {
             checkArity(a, 1, 1);
             Adesk::Int32 length = 0;
             return acedSSLength(pickSet(a[0]).name, &length) == RTNORM ? LispValue::fromInteger(length)
                                                                        : LispValue::nil();
         }},
        {L"SSADD",
         [](const Args& a) {
             checkArity(a, 0, 2);
             ads_name result;
             const Adesk::Int64* entity = a.empty() ? nullptr : entityName(a[0]).name;
             const Adesk::Int64* set = a.size() > 1 ? pickSet(a[1]).name : nullptr;
             if (acedSSAdd(entity, set, result) != RTNORM) return LispValue::nil();
             return LispValue::fromName(result, LispValue::PickSet);
         }},
        {L"SSDEL",
         [](const Args& a) {
             checkArity(a, 2, 2);
             return acedSSDel(entityName(a[0]).name, pickSet(a[1]).name) == RTNORM ? a[1] : LispValue::nil();
         }},
        {L"SSMEMB",
         [](const Args& a) {
             checkArity(a, 2, 2);
             return acedSSMemb(entityName(a[0]).name, pickSet(a[1]).name) == RTNORM ? a[0] : LispValue::nil();
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
