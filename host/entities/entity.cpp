#include "host/entities/entity.h"

#include <limits>

#include "host/db/database.h"
#include "host/db/enum_values.h"
#include "host/db/symbol_tables.h"
#include "host/editor/acut.h"
#include "host/filing/dwg_filer.h"

HOST_DEFINE_ABSTRACT(AcDbEntity, AcDbObject)

namespace {
AcDbObjectId recordIn(AcDbDatabase* db, bool layer, const std::wstring& name) {
    if (!db) return {};
    return layer ? db->layerId(name) : db->linetypeId(name);
}

std::wstring nameOfRecord(AcDbObjectId id) {
    auto* record = host::objectOf<AcDbSymbolTableRecord>(id);
    return record ? record->name() : L"";
}

// The name, as its record spells it, of the layer or linetype called `name` in `db`.
Acad::ErrorStatus recordNamed(AcDbDatabase* db, bool layer, const ACHAR* name, std::wstring& found) {
    if (!name || !*name) return Acad::eInvalidInput;
    AcDbObjectId id = recordIn(db, layer, name);
    if (id.isNull()) return Acad::eKeyNotFound;
    found = nameOfRecord(id);
    return Acad::eOk;
}
// An entity's linetype as it is kept: ByLayer (and no name) as the empty name.
std::wstring storedLinetype(const std::wstring& name) {
    return name.empty() || host::sameSymbolName(name, L"ByLayer") ? std::wstring() : name;
}
} // namespace

namespace host {
bool isOnLockedLayer(AcDbObjectId id) {
    const ObjectStub* stub = id.stub();
    const auto* entity = stub && isLiveStub(stub) ? AcDbEntity::cast(stub->object) : nullptr;
    if (!entity) return false;
    AcDbLayerTableRecord* layer = nullptr;
    if (acdbOpenObject(layer, entity->layerId(), AcDb::kForRead) != Acad::eOk) return false;
    const bool locked = layer->isLocked();
    layer->close();
    return locked;
}
} // namespace host

AcDbObjectId AcDbEntity::layerId() const {
    return recordIn(databaseOrWorking(), true, m_layer);
}
AcDbObjectId AcDbEntity::linetypeId() const {
    return recordIn(databaseOrWorking(), false, linetypeName());
}

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* name, bool, bool) {
    std::wstring found;
    Acad::ErrorStatus es = recordNamed(databaseOrWorking(), true, name, found);
    return es == Acad::eOk ? setField(m_layer, found) : es;
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId id, bool, bool) {
    auto* record = host::objectOf<AcDbLayerTableRecord>(id);
    return record ? setField(m_layer, record->name()) : Acad::eInvalidInput;
}

const std::wstring& AcDbEntity::linetypeName() const {
    static const std::wstring byLayer = L"ByLayer";
    return m_linetype.empty() ? byLayer : m_linetype;
}

Acad::ErrorStatus AcDbEntity::setLinetype(const ACHAR* name, bool) {
    std::wstring found;
    Acad::ErrorStatus es = recordNamed(databaseOrWorking(), false, name, found);
    return es == Acad::eOk ? setField(m_linetype, storedLinetype(found)) : es;
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId id, bool) {
    auto* record = host::objectOf<AcDbLinetypeTableRecord>(id);
    return record ? setField(m_linetype, storedLinetype(record->name())) : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 index, bool) {
    if (index > AcCmColor::kByLayer) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_color = index;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color, bool doSubents) {
    return setColorIndex(color.colorIndex(), doSubents);
}

Acad::ErrorStatus AcDbEntity::setLinetypeScale(double scale, bool) {
    return setPositiveField(m_linetypeScale, scale);
}

Acad::ErrorStatus AcDbEntity::setLineWeight(AcDb::LineWeight weight, bool) {
    if (weight < AcDb::kLnWtByLwDefault || weight > AcDb::kLnWt211) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_lineWeight = weight;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility visibility, bool) {
    assertWriteEnabled();
    m_visibility = visibility;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setPropertiesFrom(const AcDbEntity* other, bool) {
    if (!other) return Acad::eNullEntityPointer;
    assertWriteEnabled();
    // Names are taken as they stand: both entities normally share one database.
    m_layer = other->m_layer;
    m_linetype = other->m_linetype;
    m_color = other->m_color;
    m_linetypeScale = other->m_linetypeScale;
    m_lineWeight = other->m_lineWeight;
    m_visibility = other->m_visibility;
    return Acad::eOk;
}

void AcDbEntity::setDatabaseDefaults(AcDbDatabase* database) {
    AcDbDatabase* db = database ? database : databaseOrWorking();
    if (!db) return;
    assertWriteEnabled();
    m_layer = nameOfRecord(db->clayer());
    m_linetype = storedLinetype(nameOfRecord(db->celtype()));
    m_color = db->cecolor().colorIndex();
    m_linetypeScale = db->celtscale();
    m_lineWeight = db->celweight();
    if (m_layer.empty()) m_layer = L"0";
}

Adesk::UInt16 AcDbEntity::effectiveColorIndex() const {
    if (m_color != AcCmColor::kByLayer) return m_color == AcCmColor::kByBlock ? 7 : m_color;
    auto* layer = host::objectOf<AcDbLayerTableRecord>(layerId());
    return layer ? layer->color().colorIndex() : 7;
}

void AcDbEntity::subList() const {
    assertReadEnabled();
    AcDbDatabase* db = database();
    bool paper = db && ownerId() == db->paperSpaceId();
    acutPrintf(L"\n%15s   Layer: \"%s\"\n", isA()->name(), m_layer.c_str());
    acutPrintf(L"%15s   Space: %s\n", L"", paper ? L"Paper space" : L"Model space");
    acutPrintf(L"%15s   Handle = %s\n", L"", handle().text().c_str());
    if (m_color != AcCmColor::kByLayer) acutPrintf(L"%15s   Color: %d\n", L"", static_cast<int>(m_color));
    if (!m_linetype.empty()) acutPrintf(L"%15s   Linetype: \"%s\"\n", L"", m_linetype.c_str());
}

Acad::ErrorStatus AcDbEntity::subGetGeomExtents(AcDbExtents&) const {
    return Acad::eInvalidExtents;
}
Acad::ErrorStatus AcDbEntity::subTransformBy(const AcGeMatrix3d&) {
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::subGetTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& copy) const {
    assertReadEnabled();
    copy = AcDbEntity::cast(clone());
    if (!copy) return Acad::eNotApplicable;
    Acad::ErrorStatus es = copy->transformBy(xform);
    if (es != Acad::eOk) {
        delete copy;
        copy = nullptr;
    }
    return es;
}

Acad::ErrorStatus AcDbEntity::subExplode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::subGetOsnapPoints(AcDb::OsnapMode, Adesk::GsMarker, const AcGePoint3d&,
                                                const AcGePoint3d&, const AcGeMatrix3d&, AcGePoint3dArray&,
                                                AcDbIntArray&) const {
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::subGetGripPoints(AcGePoint3dArray&, AcDbIntArray&, AcDbIntArray&) const {
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::subMoveGripPointsAt(const AcDbIntArray&, const AcGeVector3d&) {
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::subGetStretchPoints(AcGePoint3dArray& points) const {
    AcDbIntArray modes, ids;
    return getGripPoints(points, modes, ids);
}

Acad::ErrorStatus AcDbEntity::subMoveStretchPointsAt(const AcDbIntArray& indices,
                                                     const AcGeVector3d& offset) {
    return moveGripPointsAt(indices, offset);
}

Acad::ErrorStatus AcDbEntity::subGetSubentPathsAtGsMarker(AcDb::SubentType, Adesk::GsMarker,
                                                          const AcGePoint3d&, const AcGeMatrix3d&,
                                                          int& numPaths, AcDbFullSubentPath*& subentPaths,
                                                          int, AcDbObjectId*) const {
    numPaths = 0;
    subentPaths = nullptr;
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::subGetGsMarkersAtSubentPath(const AcDbFullSubentPath&,
                                                          AcDbGsMarkerArray&) const {
    return Acad::eNotApplicable;
}

AcDbEntity* AcDbEntity::subSubentPtr(const AcDbFullSubentPath&) const {
    return nullptr;
}

Acad::ErrorStatus AcDbEntity::subIntersectWith(const AcDbEntity*, AcDb::Intersect, AcGePoint3dArray&,
                                               Adesk::GsMarker, Adesk::GsMarker) const {
    return Acad::eNotImplementedYet;
}

Acad::ErrorStatus AcDbEntity::subIntersectWith(const AcDbEntity*, AcDb::Intersect, const AcGePlane&,
                                               AcGePoint3dArray&, Adesk::GsMarker, Adesk::GsMarker) const {
    return Acad::eNotImplementedYet;
}

void AcDbEntity::saveAs(AcGiWorldDraw* mode, AcDb::SaveType) {
    assertReadEnabled();
    worldDraw(mode);
}

Acad::ErrorStatus AcDbEntity::dwgInFields(AcDbDwgFiler* filer) {
    AcDbObject::dwgInFields(filer);
    Adesk::Int16 weight = 0;
    Adesk::UInt8 visibility = 0;
    filer->readString(m_layer);
    std::wstring linetype;
    filer->readString(linetype);
    m_linetype = storedLinetype(linetype);
    filer->readUInt16(&m_color);
    filer->readDouble(&m_linetypeScale);
    filer->readInt16(&weight);
    filer->readUInt8(&visibility);
    m_lineWeight = host::lineWeightOrDefault(weight);
    m_visibility = visibility ? AcDb::kInvisible : AcDb::kVisible;
    m_color = host::colorIndexOrDefault(m_color);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbEntity::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbObject::dwgOutFields(filer);
    filer->writeString(m_layer);
    filer->writeString(linetypeName());
    filer->writeUInt16(m_color);
    filer->writeDouble(m_linetypeScale);
    filer->writeInt16(static_cast<Adesk::Int16>(m_lineWeight));
    filer->writeUInt8(m_visibility == AcDb::kInvisible ? 1 : 0);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbEntity::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbObject::dxfInFields(filer); es != Acad::eOk) return es;
    return readSubclass(filer, L"AcDbEntity", [this](const resbuf& rb) {
        switch (rb.restype) {
        case 8:
            m_layer = rb.resval.rstring;
            break;
        case 6:
            m_linetype = storedLinetype(rb.resval.rstring);
            break;
        case 62:
            m_color = host::colorIndexOrDefault(std::abs(rb.resval.rint));
            break;
        case 48:
            m_linetypeScale = rb.resval.rreal;
            break;
        case 370:
            m_lineWeight = host::lineWeightOrDefault(rb.resval.rint);
            break;
        case 60:
            m_visibility = rb.resval.rint ? AcDb::kInvisible : AcDb::kVisible;
            break;
        default:
            break;
        }
    });
}

Acad::ErrorStatus AcDbEntity::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbObject::dxfOutFields(filer);
    filer->writeString(100, L"AcDbEntity");
    AcDbDatabase* db = database();
    // Every paper space layout's entities say so, those of the layouts not current too.
    if (db && !ownerId().isNull() && ownerId() != db->modelSpaceId())
        if (auto* layout = host::liveObjectOf<AcDbBlockTableRecord>(ownerId()); layout && layout->isLayout())
            filer->writeInt16(67, 1);
    filer->writeString(8, m_layer);
    if (!m_linetype.empty()) filer->writeString(6, m_linetype);
    if (m_color != AcCmColor::kByLayer) filer->writeInt16(62, static_cast<Adesk::Int16>(m_color));
    if (m_lineWeight != AcDb::kLnWtByLayer) filer->writeInt16(370, static_cast<Adesk::Int16>(m_lineWeight));
    if (m_linetypeScale != 1.0) filer->writeDouble(48, m_linetypeScale);
    if (m_visibility == AcDb::kInvisible) filer->writeInt16(60, 1);
    return filer->filerStatus();
}

std::optional<AcGeVector3d> unitAlong(const AcGeVector3d& v) {
    if (v.isZeroLength()) return std::nullopt;
    // A vector of unit length to rounding stays as it is: dividing it by its length again may move its last
    // digit, and a normal read twice would then save differently.
    if (std::abs(v.length() - 1) <= 4 * std::numeric_limits<double>::epsilon()) return v;
    const AcGeVector3d unit = v.normal();
    if (!(std::abs(unit.length() - 1) < 1e-9)) return std::nullopt;
    return unit;
}

void readNormal(AcDbDwgFiler* filer, AcGeVector3d& normal) {
    AcGeVector3d read;
    if (filer->readVector3d(&read) != Acad::eOk) return;
    if (const std::optional<AcGeVector3d> unit = unitAlong(read))
        normal = *unit;
    else
        filer->refuseValue("a normal without a direction");
}
