#include "host/lisp/entity_lists.h"

#include <algorithm>
#include <cwctype>
#include <map>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/block_reference.h"
#include "host/entities/entity.h"
#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_filer.h"
#include "host/input/entity_refs.h"

namespace host {

namespace {

AcDbDatabase* working() {
    return acdbHostApplicationServices()->workingDatabase();
}

// The entity of a name, open in `mode`; null when the name designates none.
AcDbEntity* openEntity(const ads_name name, AcDb::OpenMode mode) {
    AcDbObjectId id;
    if (!name || acdbGetObjectId(id, name) != Acad::eOk) return nullptr;
    AcDbEntity* entity = nullptr;
    return acdbOpenObject(entity, id, mode) == Acad::eOk ? entity : nullptr;
}

bool isMainEntity(ObjectStub* stub, AcDbDatabase* db) {
    if (!stub->object || stub->erased || !AcDbEntity::cast(stub->object)) return false;
    AcDbObjectId owner = stub->object->ownerId();
    return owner == db->modelSpaceId() || owner == db->paperSpaceId();
}

// The applications of `apps` ("*" for all) whose extended data `entity` holds, as groups after -3.
std::vector<Group> extendedData(const AcDbObject* entity, const resbuf* apps) {
    std::vector<Group> out;
    const std::vector<Group>& xdata = entity->xdataGroups();
    bool take = false;
    for (const Group& g : xdata) {
        if (g.code == 1001) {
            take = false;
            for (const resbuf* a = apps; a && !take; a = a->rbnext)
                take =
                    a->restype == RTSTR && a->resval.rstring &&
                    (std::wstring(a->resval.rstring) == L"*" || sameSymbolName(a->resval.rstring, g.text()));
        }
        if (take) out.push_back(g);
    }
    if (!out.empty()) out.insert(out.begin(), Group{-3, std::monostate()});
    return out;
}

// The groups from the first subclass marker on: those before it (name, handle, owner, reactors) identify
// the entity and are not changed.
std::vector<Group> subclassGroups(const std::vector<Group>& list) {
    auto first = std::ranges::find_if(list, [](const Group& g) { return g.code == 100; });
    return {first, list.end()};
}

bool isCommonProperty(short code) {
    return code == 6 || code == 8 || code == 48 || code == 60 || code == 62 || code == 370;
}

// A list that names only some groups changes those: the n-th group of a code replaces the entity's n-th
// group of that code; a group the entity does not have is added (a common property to the entity's own
// groups, anything else at the end).
std::vector<Group> mergedGroups(const std::vector<Group>& current, const std::vector<Group>& given) {
    std::vector<Group> out = subclassGroups(current);
    std::map<short, int> seen;
    for (const Group& g : given) {
        if (g.code == 5 || g.code == 330 || g.code == 102) continue;
        int wanted = seen[g.code]++;
        auto it =
            std::ranges::find_if(out, [&](const Group& o) { return o.code == g.code && wanted-- == 0; });
        if (it != out.end()) {
            *it = g;
        } else if (isCommonProperty(g.code) && !out.empty()) {
            out.insert(out.begin() + 1, g); // after the marker of the entity's own groups
        } else {
            out.push_back(g);
        }
    }
    return out;
}

resbuf* listOf(const AcDbObject* entity, AcDbObjectId id, const resbuf* apps) {
    resbuf* head = acutNewRb(-1);
    acdbGetAdsName(head->resval.rlname, id);
    std::vector<Group> groups = entityGroups(entity);
    std::vector<Group> xdata = extendedData(entity, apps);
    groups.insert(groups.end(), xdata.begin(), xdata.end());
    head->rbnext = toResbufChain(groups, entity->database());
    return head;
}

} // namespace

std::wstring entityTypeName(const AcDbObject* entity) {
    for (AcRxClass* c = entity->isA(); c; c = c->myParent())
        if (c->dxfName()[0]) return c->dxfName();
    std::wstring name = entity->isA()->name();
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towupper(c));
    return name;
}

AcDbEntity* entityFromGroups(const std::vector<Group>& given, AcRxClass* forced, AcDbDatabase* db) {
    auto type = std::ranges::find(given, short(0), &Group::code);
    AcRxClass* c = forced ? forced : type == given.end() ? nullptr : findClassByDxfName(type->text());
    AcRxObject* made = c ? c->create() : nullptr;
    AcDbEntity* entity = AcDbEntity::cast(made);
    if (!entity) {
        delete made;
        return nullptr;
    }
    std::vector<Group> groups, xdata;
    bool full = false, inXdata = false;
    for (const Group& g : given) {
        inXdata = inXdata || g.code == -3;
        if (inXdata) {
            if (g.code != -3) xdata.push_back(g);
            continue;
        }
        if (g.code == 0 || g.code == -1 || g.code == 5 || g.code == 330) continue;
        groups.push_back(g);
        full = full || g.code == 100;
    }
    // The groups a short list leaves out keep a new entity's defaults, as ENTMOD keeps an entity's state.
    std::vector<Group> fields =
        full ? subclassGroups(groups) : mergedGroups(entityGroups(entity, AcDb::kFileFiler), groups);
    DxfGroupFiler filer(AcDb::kBagFiler, db, std::move(fields));
    Acad::ErrorStatus es = entity->dxfIn(&filer);
    // Extended data of an application that is not registered is refused with the entity, not dropped.
    if (es == Acad::eOk && !xdata.empty()) {
        resbuf* chain = toResbufChain(xdata, db);
        es = entity->setXData(chain);
        acutRelRb(chain);
    }
    if (es == Acad::eOk) return entity;
    delete entity;
    return nullptr;
}

bool refersToUndefinedBlock(const AcDbEntity* entity) {
    const auto* reference = AcDbBlockReference::cast(entity);
    return reference && reference->blockTableRecord().isNull();
}

std::vector<Group> entityGroups(const AcDbObject* entity, AcDb::FilerType type) {
    DxfGroupFiler filer(type, entity->database());
    filer.writeGroup({0, entityTypeName(entity)});
    entity->dxfOutFields(&filer);
    return filer.groups();
}

} // namespace host

using namespace host;

resbuf* acdbEntGet(const ads_name ent) {
    return acdbEntGetX(ent, nullptr);
}

// Any object's list: a table record that TBLOBJNAME names or a dictionary's object reads as an entity does.
resbuf* acdbEntGetX(const ads_name ent, const resbuf* apps) {
    AcDbObjectId id;
    AcDbObject* object = nullptr;
    if (!ent || acdbGetObjectId(id, ent) != Acad::eOk ||
        acdbOpenObject(object, id, AcDb::kForRead) != Acad::eOk)
        return nullptr;
    resbuf* list = listOf(object, id, apps);
    object->close();
    return list;
}

int acdbEntMod(const resbuf* ent) {
    const resbuf* first = ent;
    while (first && first->restype != -1)
        first = first->rbnext;
    if (!first) return RTERROR;
    AcDbEntity* entity = openEntity(first->resval.rlname, AcDb::kForWrite);
    if (!entity) return RTERROR;
    // The entity as it was, to put back when the list is refused.
    DwgMemoryFiler before(AcDb::kUndoFiler, entity->database());
    entity->dwgOut(&before);

    std::vector<Group> given, xdata;
    bool sameType = true, inXdata = false, full = false;
    for (const Group& g : fromResbufChain(ent)) {
        if (g.code == -3)
            inXdata = true;
        else if (inXdata)
            xdata.push_back(g);
        else if (g.code == 0)
            sameType = g.text() == entityTypeName(entity);
        else if (g.code != -1)
            given.push_back(g);
        full = full || g.code == 100;
    }
    // The groups a partial list does not name keep the entity's whole state, not a list's cut-down one.
    std::vector<Group> fields =
        full ? subclassGroups(given) : mergedGroups(entityGroups(entity, AcDb::kFileFiler), given);
    // Extended data that the list does not name stays: it is handed back to the reader as it was.
    fields.insert(fields.end(), entity->xdataGroups().begin(), entity->xdataGroups().end());
    Acad::ErrorStatus es = sameType ? Acad::eOk : Acad::eWrongObjectType;
    if (es == Acad::eOk) {
        DxfGroupFiler filer(AcDb::kBagFiler, entity->database(), std::move(fields));
        es = entity->dxfIn(&filer);
        if (es == Acad::eOk && refersToUndefinedBlock(entity)) es = Acad::eInvalidInput;
    }
    if (es == Acad::eOk && !xdata.empty()) {
        resbuf* chain = toResbufChain(xdata, entity->database());
        es = entity->setXData(chain);
        acutRelRb(chain);
    }
    if (es != Acad::eOk) {
        DwgMemoryFiler restore(AcDb::kUndoFiler, entity->database(), before.bytes());
        entity->dwgIn(&restore);
    }
    entity->close();
    return es == Acad::eOk ? RTNORM : RTERROR;
}

int acdbEntDel(const ads_name ent) {
    AcDbObjectId id;
    AcDbEntity* entity = nullptr;
    if (acdbGetObjectId(id, ent) != Acad::eOk ||
        acdbOpenObject(entity, id, AcDb::kForWrite, true) != Acad::eOk)
        return RTERROR;
    Acad::ErrorStatus es = entity->erase(!entity->isErased());
    entity->close();
    return es == Acad::eOk ? RTNORM : RTERROR;
}

namespace {

// The main entity after `after` (the first one for null) in the drawing's order.
AcDbObjectId mainEntityAfter(AcDbDatabase* db, const ObjectStub* after) {
    for (ObjectStub* stub = db->stubAfter(after); stub; stub = db->stubAfter(stub))
        if (isMainEntity(stub, db)) return AcDbObjectId(stub);
    return {};
}

// What follows `id` in the walk of the drawing: an entity with parts (a polyline's vertices, a block
// reference's attributes) is followed by its parts and their sequence end, which is followed by the main
// entity after the owner.
AcDbObjectId entityAfter(AcDbDatabase* db, AcDbObjectId id) {
    const AcDbEntity* entity = objectOf<AcDbEntity>(id);
    if (!entity) return {};
    if (auto* owner = objectOf<AcDbEntity>(entity->ownerId())) {
        const std::vector<AcDbObjectId> parts = owner->sequenceIds();
        auto at = std::ranges::find(parts, id);
        if (at != parts.end())
            for (++at; at != parts.end(); ++at)
                if (!at->isErased()) return *at;
        return mainEntityAfter(db, owner->objectId().stub());
    }
    for (AcDbObjectId part : entity->sequenceIds())
        if (!part.isErased()) return part;
    return mainEntityAfter(db, id.stub());
}

} // namespace

int acdbEntNext(const ads_name ent, ads_name result) {
    AcDbDatabase* db = working();
    if (!db || !result) return RTERROR;
    AcDbObjectId next;
    if (ent && (ent[0] || ent[1])) {
        AcDbObjectId id;
        if (acdbGetObjectId(id, ent) != Acad::eOk) return RTERROR;
        next = entityAfter(db, id);
    } else {
        next = mainEntityAfter(db, nullptr);
    }
    if (next.isNull()) return RTERROR;
    writeAdsName(result, next);
    return RTNORM;
}

int acdbEntLast(ads_name result) {
    AcDbObjectId id = lastEntity();
    if (!result || id.isNull()) return RTERROR;
    writeAdsName(result, id);
    return RTNORM;
}
