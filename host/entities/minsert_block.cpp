#include "host/entities/minsert_block.h"

#include <algorithm>
#include <cmath>

#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_filer.h"

HOST_DEFINE_MEMBERS(AcDbMInsertBlock, AcDbBlockReference, L"INSERT")

namespace {
// A count read from a file below 1 draws the block once, as a plain reference does.
Adesk::UInt16 countOrOne(Adesk::Int64 count) {
    return static_cast<Adesk::UInt16>(std::clamp<Adesk::Int64>(count, 1, 32767));
}
} // namespace

Acad::ErrorStatus AcDbMInsertBlock::setColumns(Adesk::UInt16 count) {
    return count > 0 ? setField(m_columns, count) : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbMInsertBlock::setRows(Adesk::UInt16 count) {
    return count > 0 ? setField(m_rows, count) : Acad::eInvalidInput;
}

AcGeVector3d AcDbMInsertBlock::offsetOf(int column, int row) const {
    return AcGeVector3d(column * m_columnSpacing, row * m_rowSpacing, 0)
        .transformBy(AcGeMatrix3d::rotation(rotation(), AcGeVector3d::kZAxis))
        .transformBy(AcGeMatrix3d::planeToWorld(normal()));
}

// The block, and the reference's attributes, at each node.
bool AcDbMInsertBlock::subWorldDraw(AcGiWorldDraw* draw) {
    AcDbBlockReference::subWorldDraw(draw);
    for (int row = 0; row < m_rows; ++row)
        for (int column = row == 0 ? 1 : 0; column < m_columns; ++column) {
            draw->geometry().pushModelTransform(AcGeMatrix3d::translation(offsetOf(column, row)));
            AcDbBlockReference::subWorldDraw(draw);
            draw->geometry().popModelTransform();
        }
    return true;
}

// The first node's extents moved to the grid's corners cover every node.
Acad::ErrorStatus AcDbMInsertBlock::subGetGeomExtents(AcDbExtents& extents) const {
    AcDbExtents first;
    if (Acad::ErrorStatus es = AcDbBlockReference::subGetGeomExtents(first); es != Acad::eOk) return es;
    for (int row : {0, m_rows - 1})
        for (int column : {0, m_columns - 1}) {
            AcDbExtents corner = first;
            corner.transformBy(AcGeMatrix3d::translation(offsetOf(column, row)));
            extents.addExt(corner);
        }
    return Acad::eOk;
}

// The spacings scale with the reference.
Acad::ErrorStatus AcDbMInsertBlock::subTransformBy(const AcGeMatrix3d& xform) {
    const AcGeVector3d x = AcGeVector3d(std::cos(rotation()), std::sin(rotation()), 0)
                               .transformBy(AcGeMatrix3d::planeToWorld(normal()))
                               .transformBy(xform);
    if (Acad::ErrorStatus es = AcDbBlockReference::subTransformBy(xform); es != Acad::eOk) return es;
    m_columnSpacing *= x.length();
    m_rowSpacing *= x.length();
    return Acad::eOk;
}

// Nothing, so that EXPLODE leaves it and says so.
Acad::ErrorStatus AcDbMInsertBlock::subExplode(AcDbVoidPtrArray&) const {
    return Acad::eOk;
}

bool AcDbMInsertBlock::readOwnDxfGroup(const resbuf& rb) {
    switch (rb.restype) {
    case 70:
        m_columns = countOrOne(rb.resval.rint);
        break;
    case 71:
        m_rows = countOrOne(rb.resval.rint);
        break;
    case 44:
        m_columnSpacing = rb.resval.rreal;
        break;
    case 45:
        m_rowSpacing = rb.resval.rreal;
        break;
    default:
        return false;
    }
    return true;
}

void AcDbMInsertBlock::writeOwnDxfGroups(AcDbDxfFiler* filer) const {
    filer->writeInt16(70, static_cast<Adesk::Int16>(m_columns));
    filer->writeInt16(71, static_cast<Adesk::Int16>(m_rows));
    filer->writeDouble(44, m_columnSpacing);
    filer->writeDouble(45, m_rowSpacing);
}

Acad::ErrorStatus AcDbMInsertBlock::dwgInFields(AcDbDwgFiler* filer) {
    AcDbBlockReference::dwgInFields(filer);
    Adesk::UInt16 columns = 1, rows = 1;
    filer->readUInt16(&columns);
    filer->readUInt16(&rows);
    m_columns = countOrOne(columns);
    m_rows = countOrOne(rows);
    filer->readDouble(&m_columnSpacing);
    return filer->readDouble(&m_rowSpacing);
}

Acad::ErrorStatus AcDbMInsertBlock::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbBlockReference::dwgOutFields(filer);
    filer->writeUInt16(m_columns);
    filer->writeUInt16(m_rows);
    filer->writeDouble(m_columnSpacing);
    return filer->writeDouble(m_rowSpacing);
}
