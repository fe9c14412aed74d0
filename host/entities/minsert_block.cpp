#include "host/entities/minsert_block.h"

#include <algorithm>

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

void AcDbMInsertBlock::setGridSpacings(double column, double row) {
    m_columnSpacing = column;
    m_rowSpacing = row;
}

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
