#pragma once
// A multiple insert: the block drawn at every node of a grid of rows and columns, laid out along the
// reference's rotated axes (columns along x, rows along y, at their spacings). It cannot be exploded, as in
// the CAD programs its users know.
#include "host/entities/block_reference.h"

class AcDbMInsertBlock : public AcDbBlockReference {
    HOST_DECLARE_MEMBERS(AcDbMInsertBlock)
public:
    AcDbMInsertBlock() = default;
    Adesk::UInt16 columns() const { return m_columns; }
    Acad::ErrorStatus setColumns(Adesk::UInt16 count);
    Adesk::UInt16 rows() const { return m_rows; }
    Acad::ErrorStatus setRows(Adesk::UInt16 count);
    double columnSpacing() const { return m_columnSpacing; }
    Acad::ErrorStatus setColumnSpacing(double spacing) { return setField(m_columnSpacing, spacing); }
    double rowSpacing() const { return m_rowSpacing; }
    Acad::ErrorStatus setRowSpacing(double spacing) { return setField(m_rowSpacing, spacing); }

    // Nothing, so that EXPLODE leaves it and says so.
    Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    const ACHAR* dxfSubclass() const override { return L"AcDbMInsertBlock"; }
    bool readOwnDxfGroup(const resbuf& rb) override;
    void writeOwnDxfGroups(AcDbDxfFiler* filer) const override;
    host::ReferenceGrid grid() const override { return {m_columns, m_rows, m_columnSpacing, m_rowSpacing}; }
    void setGridSpacings(double column, double row) override;

private:
    Adesk::UInt16 m_columns = 1, m_rows = 1;
    double m_columnSpacing = 0, m_rowSpacing = 0;
};
