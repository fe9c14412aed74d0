// ENTMAKE's entities: one made at once, or a complex entity (a polyline and its vertices, a block reference
// and its attributes) held while its parts come and added whole at its sequence end; between BLOCK and
// ENDBLK they join the block being defined.
#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/attributes.h"
#include "host/entities/block_reference.h"
#include "host/entities/meshes.h"
#include "host/entities/polylines.h"
#include "host/filing/sequence_classes.h"
#include "host/lisp/block_making.h"
#include "host/lisp/entity_lists.h"

namespace host {

namespace {

struct PendingEntity {
    AcDbDatabase* db = nullptr;
    std::unique_ptr<AcDbEntity> owner;
    std::wstring ownerType;
};

PendingEntity& pending() {
    static PendingEntity held;
    return held;
}

void dropPending() {
    pending().owner.reset();
    pending().db = nullptr;
}

std::wstring typeOf(const std::vector<Group>& groups) {
    auto type = std::ranges::find(groups, short(0), &Group::code);
    return type == groups.end() ? std::wstring() : type->text();
}

// The flags (70) and the class's own subclass marker, which choose a polyline's or a vertex's class.
std::pair<long long, std::wstring> flagsAndMarker(const std::vector<Group>& groups) {
    std::pair<long long, std::wstring> found;
    for (const Group& g : groups) {
        if (g.code == 70) found.first = g.integer();
        if (g.code == 100 && g.text() != L"AcDbEntity" && g.text() != L"AcDbVertex") found.second = g.text();
    }
    return found;
}

bool startsSequence(const std::wstring& type, const std::vector<Group>& groups) {
    if (type == L"POLYLINE") return true; // a polyline always has its vertices
    auto follow = std::ranges::find(groups, short(66), &Group::code);
    return type == L"INSERT" && follow != groups.end() && follow->integer() != 0;
}

// Hands `part` to `owner` by the owner's own append function when the pair fits; `es` then tells how it went.
template <typename Owner, typename Part, typename Append>
bool appendAs(AcDbEntity* owner, AcDbEntity* part, Append append, Acad::ErrorStatus& es) {
    Owner* whole = Owner::cast(owner);
    Part* piece = Part::cast(part);
    if (!whole || !piece) return false;
    AcDbObjectId id;
    es = append(*whole, id, piece);
    return true;
}

// The owner holds the part from now on; eWrongObjectType, the part not taken, when it does not fit.
Acad::ErrorStatus appendPart(AcDbEntity* owner, AcDbEntity* part) {
    auto vertex = [](auto& whole, AcDbObjectId& id, auto* piece) { return whole.appendVertex(id, piece); };
    auto face = [](auto& whole, AcDbObjectId& id, auto* piece) { return whole.appendFaceRecord(id, piece); };
    auto attribute = [](auto& whole, AcDbObjectId& id, auto* piece) {
        return whole.appendAttribute(id, piece);
    };
    Acad::ErrorStatus es = Acad::eWrongObjectType;
    (void)(appendAs<AcDb2dPolyline, AcDb2dVertex>(owner, part, vertex, es) ||
           appendAs<AcDb3dPolyline, AcDb3dPolylineVertex>(owner, part, vertex, es) ||
           appendAs<AcDbPolyFaceMesh, AcDbPolyFaceMeshVertex>(owner, part, vertex, es) ||
           appendAs<AcDbPolyFaceMesh, AcDbFaceRecord>(owner, part, face, es) ||
           appendAs<AcDbPolygonMesh, AcDbPolygonMeshVertex>(owner, part, vertex, es) ||
           appendAs<AcDbBlockReference, AcDbAttribute>(owner, part, attribute, es));
    return es;
}

// Adds `entity` to model space, which then owns it; null, the entity still the caller's, on failure.
AcDbObjectId addToModelSpace(AcDbDatabase* db, AcDbEntity* entity) {
    AcDbBlockTableRecord* space = nullptr;
    AcDbObjectId id;
    if (acdbOpenObject(space, db->modelSpaceId(), AcDb::kForWrite) != Acad::eOk) return id;
    if (space->appendAcDbEntity(id, entity) != Acad::eOk) id.setNull();
    space->close();
    if (!id.isNull()) entity->close();
    return id;
}

int nameOf(AcDbObjectId id, ads_name result) {
    ads_name name;
    if (id.isNull() || acdbGetAdsName(name, id) != Acad::eOk) return RTERROR;
    result[0] = name[0];
    result[1] = name[1];
    return RTNORM;
}

int heldStep(ads_name result) {
    result[0] = result[1] = 0;
    return RTNORM;
}

int startSequence(AcDbDatabase* db, const std::vector<Group>& groups, const std::wstring& type,
                  ads_name result) {
    const auto [flags, marker] = flagsAndMarker(groups);
    AcRxClass* forced = type == L"POLYLINE" ? polylineClass(flags, marker) : nullptr;
    std::unique_ptr<AcDbEntity> owner(entityFromGroups(groups, forced, db));
    if (!owner || refersToUndefinedBlock(owner.get())) return RTERROR;
    pending() = {db, std::move(owner), type};
    return heldStep(result);
}

int addPart(const std::vector<Group>& groups, const std::wstring& type, ads_name result) {
    PendingEntity& held = pending();
    const bool fits = held.ownerType == (type == L"VERTEX" ? L"POLYLINE" : L"INSERT");
    const auto [flags, marker] = flagsAndMarker(groups);
    std::unique_ptr<AcDbEntity> part(
        fits ? entityFromGroups(groups, vertexClass(held.owner.get(), flags, marker), held.db) : nullptr);
    if (!part || appendPart(held.owner.get(), part.get()) != Acad::eOk) {
        dropPending();
        return RTERROR;
    }
    part.release(); // the owner holds it
    return heldStep(result);
}

// A finished entity joins the block being defined, if any, or else model space.
int place(AcDbDatabase* db, std::unique_ptr<AcDbEntity> entity, ads_name result) {
    if (blockBeingMade(db)) {
        holdInBlock(std::move(entity));
        return heldStep(result);
    }
    const AcDbObjectId id = addToModelSpace(db, entity.get());
    if (id.isNull()) return RTERROR;
    entity.release(); // the drawing owns it
    return nameOf(id, result);
}

// The held entity joins the drawing with its parts, if they make a whole.
int endSequence(ads_name result) {
    PendingEntity& held = pending();
    std::unique_ptr<AcDbEntity> owner = std::move(held.owner);
    AcDbDatabase* db = held.db;
    dropPending();
    if (owner->sequenceFault()) return RTERROR;
    return place(db, std::move(owner), result);
}

int makeOne(AcDbDatabase* db, const std::vector<Group>& groups, ads_name result) {
    std::unique_ptr<AcDbEntity> entity(entityFromGroups(groups, nullptr, db));
    if (!entity || refersToUndefinedBlock(entity.get())) return RTERROR;
    return place(db, std::move(entity), result);
}

// A block definition begun, or ended: a list that does not fit drops what was being made.
int makeBlockStep(AcDbDatabase* db, const std::vector<Group>& groups, const std::wstring& type,
                  ads_name result) {
    if (type == L"ENDBLK") return endBlock(result);
    if (blockBeingMade(db) || !beginBlock(db, groups)) {
        dropBlock();
        return RTERROR;
    }
    return heldStep(result);
}

} // namespace

} // namespace host

using namespace host;

int acdbEntMake(const resbuf* ent, ads_name result) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return RTERROR;
    // A drawing opened since the entity or the block was begun does not receive it.
    if (pending().db != db) dropPending();
    if (!blockBeingMade(db)) dropBlock();
    const std::vector<Group> groups = fromResbufChain(ent);
    const std::wstring type = typeOf(groups);
    const bool isPart = type == L"VERTEX" || type == L"ATTRIB";
    if (pending().owner) {
        if (type == L"SEQEND") return endSequence(result);
        if (isPart) return addPart(groups, type, result);
        dropPending(); // an entity that does not continue the held one is refused with it
        return RTERROR;
    }
    if (type == L"BLOCK" || type == L"ENDBLK") return makeBlockStep(db, groups, type, result);
    if (isPart || type == L"SEQEND") return RTERROR;
    if (startsSequence(type, groups)) return startSequence(db, groups, type, result);
    return makeOne(db, groups, result);
}

void acdbEntMakeCancel() {
    dropPending();
    dropBlock();
}
