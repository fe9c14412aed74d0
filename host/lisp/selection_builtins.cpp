// Selection sets: made by SSGET from a mode, points and a filter, read and changed member by member.
#include "host/lisp/lisp_builtins.h"
#include "host/selection/selection_sets.h"
#include "host/selection/ssget.h"

namespace host {

namespace {

using Args = LispArgs;

// A filter: a list of groups, ((0 . "LINE") (8 . "ROUTE")).
bool isFilter(const LispValue& v) {
    return v.kind == LispValue::List && !v.items.empty() && v.items[0].kind == LispValue::List &&
           !v.items[0].items.empty() && v.items[0].items[0].kind == LispValue::Integer;
}

// (SSGET [mode] [point [point]] [filter]): "X" the drawing, "I" the pick-first set, "P" the previous set,
// "L" the last entity, ":S" one selection, none the user's choice or the entity under a point. Nil when
// nothing was chosen.
LispValue ssget(const Args& a) {
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
        {L"SSGET", lispFunction(0, 4, ssget)},
        {L"SSLENGTH", lispFunction([](LispPickSet set) {
             Adesk::Int32 length = 0;
             return acedSSLength(set.value.name, &length) == RTNORM ? LispValue::fromInteger(length)
                                                                    : LispValue::nil();
         })},
        {L"SSADD", lispFunction([](std::optional<LispEntityName> entity, std::optional<LispPickSet> set) {
             ads_name result;
             if (acedSSAdd(entity ? entity->value.name : nullptr, set ? set->value.name : nullptr, result) !=
                 RTNORM)
                 return LispValue::nil();
             return LispValue::fromName(result, LispValue::PickSet);
         })},
        {L"SSDEL", lispFunction([](LispEntityName entity, LispPickSet set) {
             return acedSSDel(entity.value.name, set.value.name) == RTNORM ? set.value : LispValue::nil();
         })},
        {L"SSMEMB", lispFunction([](LispEntityName entity, LispPickSet set) {
             return acedSSMemb(entity.value.name, set.value.name) == RTNORM ? entity.value : LispValue::nil();
         })},
        {L"SSNAME", lispFunction([](LispPickSet set, int index) {
             ads_name n;
             return acedSSName(set.value.name, index, n) == RTNORM ? LispValue::fromName(n)
                                                                   : LispValue::nil();
         })},
    };
    return table;
}

} // namespace host
