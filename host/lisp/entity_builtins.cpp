// Entities as lists of DXF groups: reading, changing and walking the drawing's entities.
#include "host/db/database.h"
#include "host/db/db_object.h"
#include "host/lisp/entity_lists.h"
#include "host/lisp/lisp_builtins.h"

namespace host {

namespace {

using Args = LispArgs;

const LispValue& entityName(const LispValue& v) {
    if (v.kind != LispValue::EntityName) badArgument("lentityp", v);
    return v;
}

// ENTMAKE and ENTMAKEX: the entity made from the one list argument, its name in `made`.
int makeEntity(const Args& a, ads_name made) {
    checkArity(a, 1, 1);
    resbuf* chain = toResbufs(listArgument(a[0]));
    const int rc = acdbEntMake(chain, made);
    acutRelRb(chain);
    return rc;
}

LispValue nameOrNil(int rc, const ads_name name) {
    return rc == RTNORM ? LispValue::fromName(name) : LispValue::nil();
}

LispValue chainValue(resbuf* chain) {
    if (!chain) return LispValue::nil();
    LispValue v = LispValue::list(fromResbufs(chain));
    acutRelRb(chain);
    return v;
}

} // namespace

const LispBuiltinTable& entityBuiltins() {
    static const LispBuiltinTable table = {
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
             resbuf* apps = a.size() > 1 ? toResbufs(listArgument(a[1])) : nullptr;
             resbuf* list = acdbEntGetX(entityName(a[0]).name, apps);
             acutRelRb(apps);
             return chainValue(list);
         }},
        {L"ENTMAKE",
         [](const Args& a) {
             ads_name n;
             return makeEntity(a, n) == RTNORM ? a[0] : LispValue::nil();
         }},
        {L"ENTMAKEX",
         [](const Args& a) {
             ads_name n;
             const int rc = makeEntity(a, n);
             return nameOrNil(rc, n);
         }},
        {L"ENTDEL",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return acdbEntDel(entityName(a[0]).name) == RTNORM ? a[0] : LispValue::nil();
         }},
        {L"ENTUPD",
         [](const Args& a) {
             // Changes are drawn as they are made: the entity is up to date already.
             checkArity(a, 1, 1);
             return entityName(a[0]);
         }},
        {L"HANDENT",
         [](const Args& a) {
             checkArity(a, 1, 1);
             AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
             AcDbObjectId id;
             ads_name n;
             if (!db ||
                 db->getAcDbObjectId(id, false, AcDbHandle(stringArgument(a[0]).c_str())) != Acad::eOk ||
                 acdbGetAdsName(n, id) != Acad::eOk)
                 return LispValue::nil();
             return LispValue::fromName(n);
         }},
        {L"ENTMOD",
         [](const Args& a) {
             checkArity(a, 1, 1);
             resbuf* chain = toResbufs(listArgument(a[0]));
             int rc = acdbEntMod(chain);
             acutRelRb(chain);
             return rc == RTNORM ? a[0] : LispValue::nil();
         }},
    };
    return table;
}

} // namespace host
