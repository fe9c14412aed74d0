// Entities as lists of DXF groups: reading, changing and walking the drawing's entities.
#include "host/db/database.h"
#include "host/db/db_object.h"
#include "host/db/symbol_tables.h"
#include "host/lisp/entity_lists.h"
#include "host/lisp/lisp_builtins.h"

namespace host {

namespace {

// ENTMAKE and ENTMAKEX: the entity made from the list, its name in `made`.
int makeEntity(const LispValue& list, ads_name made) {
    resbuf* chain = nullptr;
    try {
        chain = toResbufs(listArgument(list));
    } catch (const LispError&) {
        acdbEntMakeCancel(); // a bad list refuses the complex entity it would have continued
        throw;
    }
    const int rc = acdbEntMake(chain, made);
    acutRelRb(chain);
    return rc;
}

LispValue nameOrNil(int rc, const ads_name name) {
    return rc == RTNORM ? LispValue::fromName(name) : LispValue::nil();
}

// ENDBLK answers the name of the block it adds, a new one for an anonymous block; other lists, themselves.
LispValue madeValue(const LispValue& list, const ads_name made) {
    AcDbObjectId id;
    AcDbBlockTableRecord* block = nullptr;
    if (!(made[0] || made[1]) || acdbGetObjectId(id, made) != Acad::eOk ||
        acdbOpenObject(block, id, AcDb::kForRead) != Acad::eOk)
        return list;
    LispValue name = LispValue::fromString(block->name());
    block->close();
    return name;
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
        {L"ENTLAST", lispFunction([] {
             ads_name n;
             return nameOrNil(acdbEntLast(n), n);
         })},
        {L"ENTNEXT", lispFunction([](std::optional<LispEntityName> after) {
             ads_name n;
             return nameOrNil(acdbEntNext(after ? after->value.name : nullptr, n), n);
         })},
        {L"ENTGET", lispFunction([](LispEntityName entity, std::optional<LispValue> applications) {
             resbuf* apps = applications ? toResbufs(listArgument(*applications)) : nullptr;
             resbuf* list = acdbEntGetX(entity.value.name, apps);
             acutRelRb(apps);
             return chainValue(list);
         })},
        // Without a list, drops the complex entity being made.
        {L"ENTMAKE", lispFunction([](std::optional<LispValue> list) {
             ads_name n;
             if (!list) {
                 acdbEntMakeCancel();
                 return LispValue::nil();
             }
             n[0] = n[1] = 0;
             return makeEntity(*list, n) == RTNORM ? madeValue(*list, n) : LispValue::nil();
         })},
        // A step of a complex entity names nothing yet: it answers its list, as ENTMAKE does.
        {L"ENTMAKEX", lispFunction([](const LispValue& list) {
             ads_name n;
             const int rc = makeEntity(list, n);
             return rc == RTNORM && !n[0] && !n[1] ? list : nameOrNil(rc, n);
         })},
        {L"ENTDEL", lispFunction([](LispEntityName entity) {
             return acdbEntDel(entity.value.name) == RTNORM ? entity.value : LispValue::nil();
         })},
        // Changes are drawn as they are made: the entity is up to date already.
        {L"ENTUPD", lispFunction([](LispEntityName entity) { return entity.value; })},
        {L"HANDENT", lispFunction([](const std::wstring& handle) {
             AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
             AcDbObjectId id;
             ads_name n;
             if (!db || db->getAcDbObjectId(id, false, AcDbHandle(handle.c_str())) != Acad::eOk ||
                 acdbGetAdsName(n, id) != Acad::eOk)
                 return LispValue::nil();
             return LispValue::fromName(n);
         })},
        {L"ENTMOD", lispFunction([](const LispValue& list) {
             resbuf* chain = toResbufs(listArgument(list));
             int rc = acdbEntMod(chain);
             acutRelRb(chain);
             return rc == RTNORM ? list : LispValue::nil();
         })},
    };
    return table;
}

} // namespace host
