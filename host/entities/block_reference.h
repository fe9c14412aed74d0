#pragma once
// Insertion of a block: the block's entities drawn through the reference's transform (position, scale
// factors, rotation about the normal, the block's base point at the position), and the attributes the
// reference owns, in world coordinates, which give the values of the block's attribute definitions.
#include "host/entities/owned_sequence.h"

class AcDbAttribute;
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

    // Appends an attribute outside any database; a reference in a database adds it there and owns it (the
    // attribute stays open for write).
    Acad::ErrorStatus appendAttribute(AcDbAttribute* attribute);
    Acad::ErrorStatus appendAttribute(AcDbObjectId& id, AcDbAttribute* attribute);
    // The attributes in order; the caller deletes the iterator.
    AcDbObjectIterator* attributeIterator() const;
    // The end of the attributes; eNullObjectId for a reference without attributes.
    Acad::ErrorStatus openSequenceEnd(AcDbSequenceEnd*& end, AcDb::OpenMode mode) const;

    // The block's entities, but the definitions of the attributes the reference holds values for, and
    // the visible attributes.
    bool subWorldDraw(AcGiWorldDraw* draw) override;
    // The extents of the block's entities through the reference's transform, and of the attributes.
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    // Moves the attributes along.
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
    // Copies of the block's entities, transformed, and the visible attributes as texts.
    Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

    void subObjectAddedToDatabase() override { m_attributes.addToDatabase(this); }
    std::vector<AcDbObjectId> sequenceIds() const override { return m_attributes.ids(); }
    void adoptSequence(const std::vector<AcDbObjectId>& ids) override { m_attributes.adopt(ids); }

protected:
    // A kind of reference files apart (the grid of a multiple insert): its DXF subclass, the groups of that
    // subclass it takes, and those it writes after the reference's own.
    virtual const ACHAR* dxfSubclass() const { return L"AcDbBlockReference"; }
    virtual bool readOwnDxfGroup(const resbuf&) { return false; }
    virtual void writeOwnDxfGroups(AcDbDxfFiler*) const {}

private:
    AcDbBlockTableRecord* block() const;
    host::OwnedSequence m_attributes{host::OwnedSequence::End::WithParts};
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
