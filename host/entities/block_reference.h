#pragma once
// Insertion of a block: the block's entities drawn through the reference's transform (position, scale
// factors, rotation about the normal, the block's base point at the position), and the attributes the
// reference owns, in world coordinates, which give the values of the block's attribute definitions.
#include "host/entities/owned_sequence.h"

class AcDbAttribute;
class AcDbBlockTableRecord;

namespace host {
// The nodes a reference draws its block at: columns along its rotated x axis and rows along its y axis, at
// their spacings, from the position; a plain reference is the one node there.
struct ReferenceGrid {
    int columns = 1, rows = 1;
    double columnSpacing = 0, rowSpacing = 0;
};
} // namespace host

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
    // the visible attributes, at every node of the grid.
    bool subWorldDraw(AcGiWorldDraw* draw) override;
    // The extents of the block's entities through the reference's transform, and of the attributes, over
    // the grid.
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    // Moves the attributes along; the grid's spacings scale with the reference.
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
    // A kind of reference that draws the block on a grid (a multiple insert) files apart: its DXF subclass,
    // the groups of that subclass it takes, and those it writes after the reference's own. It gives its grid,
    // and takes it back scaled by a transform.
    virtual const ACHAR* dxfSubclass() const { return L"AcDbBlockReference"; }
    virtual bool readOwnDxfGroup(const resbuf&) { return false; }
    virtual void writeOwnDxfGroups(AcDbDxfFiler*) const {}
    virtual host::ReferenceGrid grid() const { return {}; }
    virtual void setGridSpacings(double /*column*/, double /*row*/) {}

private:
    AcDbBlockTableRecord* block() const;
    // The block and the attributes at the grid's first node.
    void drawNode(AcGiWorldDraw* draw);
    Acad::ErrorStatus getNodeExtents(AcDbExtents& extents) const;
    // The world offset of the grid's node at `column` and `row` from the first.
    AcGeVector3d nodeOffset(const host::ReferenceGrid& grid, int column, int row) const;
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
