#include "host/input/entity_refs.h"

#include <cwctype>

#include "host/db/database.h"
#include "host/db/resbuf.h"
#include "host/db/symbol_tables.h"
#include "host/entities/entity.h"
#include "host/lisp/lisp_symbols.h"

namespace host {

namespace {

AcDbDatabase* working() {
    return acdbHostApplicationServices()->workingDatabase();
}

std::vector<AcDbObjectId> entitiesOf(AcDbObjectId blockId) {
    std::vector<AcDbObjectId> out;
    AcDbBlockTableRecord* block = nullptr;
    if (acdbOpenObject(block, blockId, AcDb::kForRead) != Acad::eOk) return out;
    for (AcDbObjectId id : block->entityIds())
        if (!id.isErased()) out.push_back(id);
    block->close();
    return out;
}

bool isEntity(AcDbObjectId id) {
    return id.isValid() && !id.isErased() && AcDbEntity::cast(id.stub()->object);
}

} // namespace

bool resolveEntityRef(std::wstring_view ref, AcDbObjectId& id, std::wstring& error) {
    std::wstring text(ref);
    AcDbDatabase* db = working();
    if (!db) {
        error = L"no drawing is open";
        return false;
    }
    if (text.size() > 1 && text[0] == L'!') {
        if (!lispSymbolEntity(text.substr(1), id)) {
            error = L"the LISP symbol " + text.substr(1) + L" holds no entity name";
            return false;
        }
    } else if (text == L"last" || text == L"LAST") {
        id = lastEntity();
    } else {
        bool hex = !text.empty();
        for (wchar_t c : text)
            hex = hex && std::iswxdigit(c);
        AcDbHandle handle(hex ? text.c_str() : L"");
        if (handle.isNull() || db->getAcDbObjectId(id, false, handle) != Acad::eOk) id.setNull();
    }
    if (!isEntity(id)) {
        error = L"\"" + text + L"\" names no entity of the drawing";
        return false;
    }
    return true;
}

std::vector<AcDbObjectId> currentSpaceEntities() {
    AcDbDatabase* db = working();
    return db ? entitiesOf(db->currentSpaceId()) : std::vector<AcDbObjectId>{};
}

AcDbObjectId lastEntity() {
    AcDbDatabase* db = working();
    if (!db) return {};
    AcDbObjectId last;
    for (ObjectStub* stub : db->stubs()) {
        AcDbObjectId id(stub);
        if (!isEntity(id)) continue;
        AcDbObjectId owner = stub->object->ownerId();
        if (owner == db->modelSpaceId() || owner == db->paperSpaceId()) last = id;
    }
    return last;
}

void writeAdsName(Adesk::Int64* name, AcDbObjectId id) {
    ads_name n;
    acdbGetAdsName(n, id);
    name[0] = n[0];
    name[1] = n[1];
}

AcGePoint3d entityMiddle(AcDbObjectId id) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return {};
    AcDbExtents extents;
    bool known = entity->getGeomExtents(extents) == Acad::eOk && !extents.isEmpty();
    entity->close();
    if (!known) return {};
    AcGePoint3d a = extents.minPoint(), b = extents.maxPoint();
    return AcGePoint3d((a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2);
}

} // namespace host
