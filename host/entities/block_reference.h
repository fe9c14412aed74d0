#pragma once
// Insertion of a block: the block's entities drawn through the reference's transform (position, scale
// factors, rotation about the normal, the block's base point at the position).
#include "host/entities/entity.h"

class AcDbBlockTableRecord;

class AcDbBlockReference : public AcDbEntity {
    HOST_DECLARE_MEMBERS(AcDbBlockReference)
public:
    AcDbBlockReference() = default;
    AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord);
    AcDbObjectId blockTableRecord() const { return m_block; }
    Acad::ErrorStatus setBlockTableRecord(AcDbObjectId id);
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    AcGeScale3d scaleFactors() const { return m_scale; }
    Acad::ErrorStatus setScaleFactors(const AcGeScale3d& scale);
    double rotation() const { return m_rotation; }
    Acad::ErrorStatus setRotation(double rotation);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    // From the block's coordinates to world.
    AcGeMatrix3d blockTransform() const;

    bool subWorldDraw(AcGiWorldDraw* draw) override;
    // The extents of the block's entities through the reference's transform.
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
    // Copies of the block's entities, transformed.
    Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcDbBlockTableRecord* block() const;
    AcDbObjectId m_block;
    std::wstring m_blockName; // read from a drawing file before the block is known
    AcGePoint3d m_position;
    AcGeScale3d m_scale;
    double m_rotation = 0;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
};

namespace host {
// Nested references are followed this deep, well within the stack, and through this many entities for one
// outermost reference, so that blocks nested too deep or too wide are drawn and measured in part, not never.
constexpr std::size_t kMaxBlockNesting = 256;
constexpr std::size_t kMaxNestedEntities = 200'000;
// Adds the extents of every entity of `block` (in the block's coordinates) to `extents`.
void addBlockExtents(AcDbExtents& extents, const AcDbBlockTableRecord* block);
} // namespace host
