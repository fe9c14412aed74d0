#include "host/entities/block_reference.h"

#include <memory>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/attributes.h"
#include "host/filing/dwg_filer.h"

HOST_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, L"INSERT")

namespace {

// The entities of a block, each readable while `f` runs.
template <typename F> void forEachEntity(const AcDbBlockTableRecord* block, F f) {
    for (AcDbObjectId id : block->entityIds())
        if (id.isValid() && !id.isErased())
            if (auto* entity = AcDbEntity::cast(id.stub()->object)) {
                host::ScopedRead access(entity);
                f(entity);
            }
}

// The entities of a block as a reference shows them, each readable while `f` runs: attribute definitions
// stand for the reference's attributes and are left out, but for a constant one, whose value no attribute
// holds, shown as a text of its value.
template <typename F> void forEachShownEntity(const AcDbBlockTableRecord* block, F f) {
    forEachEntity(block, [&](AcDbEntity* entity) {
        auto* definition = AcDbAttributeDefinition::cast(entity);
        if (!definition) return f(entity);
        if (!definition->isConstant() || definition->isInvisible()) return;
        std::unique_ptr<AcDbText> value(host::textOf(*definition));
        f(value.get());
    });
}
} // namespace

namespace host {
void addBlockExtents(AcDbExtents& extents, const AcDbBlockTableRecord* block) {
    if (!block) return;
    forEachEntity(block, [&](AcDbEntity* entity) {
        AcDbExtents e;
        if (entity->getGeomExtents(e) == Acad::eOk) extents.addExt(e);
    });
}
} // namespace host

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord)
    : m_block(blockTableRecord), m_position(position) {}

AcDbBlockTableRecord* AcDbBlockReference::block() const {
    return host::objectOf<AcDbBlockTableRecord>(m_block);
}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId id) {
    if (!host::objectOf<AcDbBlockTableRecord>(id)) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_block = id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& position) {
    return setField(m_position, position);
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& scale) {
    if (scale.sx == 0 || scale.sy == 0 || scale.sz == 0) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_scale = scale;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double rotation) {
    return setField(m_rotation, rotation);
}

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& normal) {
    return setNormalField(m_normal, normal);
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const {
    AcDbBlockTableRecord* record = block();
    AcGePoint3d base = record ? record->origin() : AcGePoint3d();
    AcGeMatrix3d scale;
    scale(0, 0) = m_scale.sx;
    scale(1, 1) = m_scale.sy;
    scale(2, 2) = m_scale.sz;
    // Position is a world point; rotation and scale act in the plane of the normal.
    AcGeMatrix3d plane = AcGeMatrix3d::planeToWorld(m_normal);
    return AcGeMatrix3d::translation(m_position.asVector()) * plane *
           AcGeMatrix3d::rotation(m_rotation, AcGeVector3d::kZAxis) * scale *
           AcGeMatrix3d::translation(-base.asVector());
}

AcGeVector3d AcDbBlockReference::nodeOffset(const host::ReferenceGrid& grid, int column, int row) const {
    return AcGeVector3d(column * grid.columnSpacing, row * grid.rowSpacing, 0)
        .transformBy(AcGeMatrix3d::rotation(m_rotation, AcGeVector3d::kZAxis))
        .transformBy(AcGeMatrix3d::planeToWorld(m_normal));
}

bool AcDbBlockReference::subWorldDraw(AcGiWorldDraw* draw) {
    const host::ReferenceGrid nodes = grid();
    for (int row = 0; row < nodes.rows; ++row)
        for (int column = 0; column < nodes.columns; ++column) {
            const bool first = row == 0 && column == 0;
            if (!first)
                draw->geometry().pushModelTransform(
                    AcGeMatrix3d::translation(nodeOffset(nodes, column, row)));
            drawNode(draw);
            if (!first) draw->geometry().popModelTransform();
        }
    return true;
}

void AcDbBlockReference::drawNode(AcGiWorldDraw* draw) {
    if (AcDbBlockTableRecord* record = block()) {
        draw->geometry().pushModelTransform(blockTransform());
        forEachShownEntity(record, [&](AcDbEntity* entity) { draw->geometry().draw(entity); });
        draw->geometry().popModelTransform();
    }
    for (AcDbAttribute* attribute : m_attributes.parts<AcDbAttribute>())
        draw->geometry().draw(attribute);
}

// The first node's extents moved to the grid's corners cover every node.
Acad::ErrorStatus AcDbBlockReference::subGetGeomExtents(AcDbExtents& extents) const {
    AcDbExtents first;
    if (Acad::ErrorStatus es = getNodeExtents(first); es != Acad::eOk) return es;
    const host::ReferenceGrid nodes = grid();
    if (nodes.columns == 1 && nodes.rows == 1) {
        extents.addExt(first);
        return Acad::eOk;
    }
    for (int row : {0, nodes.rows - 1})
        for (int column : {0, nodes.columns - 1}) {
            AcDbExtents corner = first;
            corner.transformBy(AcGeMatrix3d::translation(nodeOffset(nodes, column, row)));
            extents.addExt(corner);
        }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::getNodeExtents(AcDbExtents& extents) const {
    // How deep the references being measured nest, and how many entities the outermost has measured.
    thread_local std::size_t depth = 0, measured = 0;
    if (depth == 0) measured = 0;
    struct Level {
        Level() { ++depth; }
        ~Level() { --depth; }
    } level;
    // Each entity transformed, for tight extents; its box transformed when it cannot be.
    AcDbBlockTableRecord* record = block();
    AcGeMatrix3d xform = blockTransform();
    AcDbExtents placed;
    if (record && depth <= host::kMaxBlockNesting)
        forEachShownEntity(record, [&](AcDbEntity* entity) {
            if (++measured > host::kMaxNestedEntities) return;
            AcDbEntity* copy = nullptr;
            AcDbExtents e;
            if (entity->getTransformedCopy(xform, copy) == Acad::eOk &&
                copy->getGeomExtents(e) == Acad::eOk) {
                placed.addExt(e);
            } else if (entity->getGeomExtents(e) == Acad::eOk) {
                e.transformBy(xform);
                placed.addExt(e);
            }
            delete copy;
        });
    for (AcDbAttribute* attribute : m_attributes.parts<AcDbAttribute>()) {
        AcDbExtents e;
        host::ScopedRead access(attribute);
        if (!attribute->isInvisible() && attribute->getGeomExtents(e) == Acad::eOk) placed.addExt(e);
    }
    if (placed.isEmpty()) placed.addPoint(m_position);
    extents.addExt(placed);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::subTransformBy(const AcGeMatrix3d& xform) {
    AcGeMatrix3d plane = AcGeMatrix3d::planeToWorld(m_normal);
    AcGeVector3d x = AcGeVector3d(std::cos(m_rotation), std::sin(m_rotation), 0).transformBy(plane);
    AcGeVector3d newX = AcGeVector3d(x).transformBy(xform);
    AcGeVector3d newNormal = AcGeVector3d(m_normal).transformBy(xform);
    if (newX.isZeroLength() || newNormal.isZeroLength()) return Acad::eInvalidInput;
    assertWriteEnabled();
    double factor = newX.length();
    bool mirrored = xform.det() < 0;
    m_position.transformBy(xform);
    m_normal = newNormal.normal();
    AcGeVector3d localX = newX.transformBy(AcGeMatrix3d::worldToPlane(m_normal));
    m_rotation = std::atan2(localX.y, localX.x);
    m_scale =
        AcGeScale3d(m_scale.sx * factor * (mirrored ? -1 : 1), m_scale.sy * factor, m_scale.sz * factor);
    const host::ReferenceGrid nodes = grid();
    setGridSpacings(nodes.columnSpacing * factor, nodes.rowSpacing * factor);
    m_attributes.changeParts<AcDbAttribute>([&](AcDbAttribute* attribute) { attribute->transformBy(xform); });
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::subExplode(AcDbVoidPtrArray& entities) const {
    assertReadEnabled();
    AcDbBlockTableRecord* record = block();
    if (!record) return Acad::eInvalidInput;
    AcGeMatrix3d xform = blockTransform();
    forEachShownEntity(record, [&](AcDbEntity* entity) {
        AcDbEntity* copy = nullptr;
        if (entity->getTransformedCopy(xform, copy) == Acad::eOk) entities.append(copy);
    });
    for (AcDbAttribute* attribute : m_attributes.parts<AcDbAttribute>()) {
        host::ScopedRead access(attribute);
        if (!attribute->isInvisible()) entities.append(host::textOf(*attribute));
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbAttribute* attribute) {
    AcDbObjectId id;
    return appendAttribute(id, attribute);
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbObjectId& id, AcDbAttribute* attribute) {
    return m_attributes.append(this, attribute, id);
}

AcDbObjectIterator* AcDbBlockReference::attributeIterator() const {
    assertReadEnabled();
    return m_attributes.newIterator();
}

Acad::ErrorStatus AcDbBlockReference::openSequenceEnd(AcDbSequenceEnd*& end, AcDb::OpenMode mode) const {
    end = nullptr;
    return acdbOpenObject(end, m_attributes.endId(), mode);
}

Acad::ErrorStatus AcDbBlockReference::dwgInFields(AcDbDwgFiler* filer) {
    AcDbEntity::dwgInFields(filer);
    filer->readHardPointerId(&m_block);
    filer->readPoint3d(&m_position);
    filer->readScale3d(&m_scale);
    filer->readDouble(&m_rotation);
    readNormal(filer, m_normal);
    if (filer->drawingVersion() >= 4) m_attributes.dwgIn(filer, AcDbAttribute::desc());
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbBlockReference::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbEntity::dwgOutFields(filer);
    filer->writeHardPointerId(m_block);
    filer->writePoint3d(m_position);
    filer->writeScale3d(m_scale);
    filer->writeDouble(m_rotation);
    filer->writeVector3d(m_normal);
    m_attributes.dwgOut(filer);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbBlockReference::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer); es != Acad::eOk) return es;
    Acad::ErrorStatus es = readSubclass(filer, dxfSubclass(), [this](const resbuf& rb) {
        switch (rb.restype) {
        case 2:
            m_blockName = rb.resval.rstring;
            break;
        case 10:
            m_position = asPoint(rb);
            break;
        case 41:
            m_scale.sx = rb.resval.rreal;
            break;
        case 42:
            m_scale.sy = rb.resval.rreal;
            break;
        case 43:
            m_scale.sz = rb.resval.rreal;
            break;
        case 50:
            m_rotation = rb.resval.rreal / host::kDegrees;
            break;
        case 210:
            readNormal(rb, m_normal);
            break;
        default:
            readOwnDxfGroup(rb);
            break;
        }
    });
    m_position.transformBy(AcGeMatrix3d::planeToWorld(m_normal));
    if (AcDbDatabase* db = filer->database()) m_block = db->blockId(m_blockName);
    return es;
}

Acad::ErrorStatus AcDbBlockReference::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbEntity::dxfOutFields(filer);
    filer->writeString(100, dxfSubclass());
    if (!m_attributes.ids().empty()) filer->writeInt16(66, 1);
    AcDbBlockTableRecord* record = block();
    filer->writeString(2, record ? std::wstring(record->name()) : m_blockName);
    filer->writePoint3d(10, AcGePoint3d(m_position).transformBy(AcGeMatrix3d::worldToPlane(m_normal)));
    if (m_scale.sx != 1) filer->writeDouble(41, m_scale.sx);
    if (m_scale.sy != 1) filer->writeDouble(42, m_scale.sy);
    if (m_scale.sz != 1) filer->writeDouble(43, m_scale.sz);
    if (m_rotation != 0) filer->writeDouble(50, m_rotation * host::kDegrees);
    writeOwnDxfGroups(filer);
    if (m_normal != AcGeVector3d::kZAxis) filer->writeVector3d(210, m_normal);
    return filer->filerStatus();
}
