#pragma once
// The tables the host does not model (viewports, views, user coordinate systems, dimension styles): each
// record keeps the groups of its own subclass as the drawing file gave them, references included, so that
// a drawing saves them back whole and what they own (a viewport's sun) keeps its owner. They model nothing:
// every group after the name and flags is kept by AcDbSymbolTableRecord.
#include <map>
#include <string>
#include <vector>

#include "host/db/symbol_tables.h"

HOST_SYMBOL_TABLE(AcDbViewportTable, AcDbViewportTableRecord, L"VPORT")
HOST_SYMBOL_TABLE(AcDbViewTable, AcDbViewTableRecord, L"VIEW")
HOST_SYMBOL_TABLE(AcDbUCSTable, AcDbUCSTableRecord, L"UCS")

// The dimension style table lists its records in a subclass of its own, as DXF readers expect.
class AcDbDimStyleTableRecord;
class AcDbDimStyleTable : public AcDbSymbolTable {
    HOST_DECLARE_MEMBERS(AcDbDimStyleTable)
public:
    const ACHAR* tableName() const override { return L"DIMSTYLE"; }
    AcRxClass* recordClass() const override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
};

#define HOST_KEPT_RECORD(RECORD, MARKER)                                                                     \
    class RECORD : public AcDbSymbolTableRecord {                                                            \
        HOST_DECLARE_MEMBERS(RECORD)                                                                         \
    protected:                                                                                               \
        const ACHAR* subclassMarker() const override { return MARKER; }                                      \
    };

HOST_KEPT_RECORD(AcDbViewportTableRecord, L"AcDbViewportTableRecord")
HOST_KEPT_RECORD(AcDbViewTableRecord, L"AcDbViewTableRecord")
HOST_KEPT_RECORD(AcDbUCSTableRecord, L"AcDbUCSTableRecord")

namespace host {
// The table classes of drawing files by table name, those the host models and those it keeps.
AcRxClass* tableClassNamed(const std::wstring& name);
// The live tables of `database` that it does not name among its own, by table name: the kept ones.
std::map<std::wstring, AcDbObjectId> keptTables(const AcDbDatabase& database);
} // namespace host

// Dimension style records name their handle with group 105, as every DXF writer does.
class AcDbDimStyleTableRecord : public AcDbSymbolTableRecord {
    HOST_DECLARE_MEMBERS(AcDbDimStyleTableRecord)
protected:
    const ACHAR* subclassMarker() const override { return L"AcDbDimStyleTableRecord"; }
    int dxfHandleCode() const override { return 105; }
};
