#include "host/db/kept_tables.h"

#include <algorithm>

#include "host/db/database.h"
#include "host/filing/dxf_filer.h"

HOST_DEFINE_SYMBOL_TABLE(AcDbViewportTable, AcDbViewportTableRecord, L"VPORT")
HOST_DEFINE_SYMBOL_TABLE(AcDbViewTable, AcDbViewTableRecord, L"VIEW")
HOST_DEFINE_SYMBOL_TABLE(AcDbUCSTable, AcDbUCSTableRecord, L"UCS")
HOST_DEFINE_SYMBOL_TABLE(AcDbDimStyleTable, AcDbDimStyleTableRecord, L"DIMSTYLE")

Acad::ErrorStatus AcDbDimStyleTable::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbSymbolTable::dxfOutFields(filer);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbDimStyleTable");
    int live = 0;
    for (AcDbObjectId id : recordIds())
        live += id.isErased() ? 0 : 1;
    filer->writeInt16(71, static_cast<Adesk::Int16>(live));
    for (AcDbObjectId id : recordIds())
        if (!id.isErased()) filer->writeObjectId(AcDb::kDxfHardPointerId, id);
    return filer->filerStatus();
}

namespace host {

AcRxClass* tableClassNamed(const std::wstring& name) {
    static const std::map<std::wstring, AcRxClass*> classes = {
        {L"BLOCK_RECORD", AcDbBlockTable::desc()}, {L"LAYER", AcDbLayerTable::desc()},
        {L"LTYPE", AcDbLinetypeTable::desc()},     {L"APPID", AcDbRegAppTable::desc()},
        {L"STYLE", AcDbTextStyleTable::desc()},    {L"VPORT", AcDbViewportTable::desc()},
        {L"VIEW", AcDbViewTable::desc()},          {L"UCS", AcDbUCSTable::desc()},
        {L"DIMSTYLE", AcDbDimStyleTable::desc()}};
    const auto found = classes.find(name);
    return found == classes.end() ? nullptr : found->second;
}

std::map<std::wstring, AcDbObjectId> keptTables(const AcDbDatabase& database) {
    const AcDbObjectId own[] = {database.blockTableId(), database.layerTableId(), database.linetypeTableId(),
                                database.regAppTableId(), database.textStyleTableId()};
    std::map<std::wstring, AcDbObjectId> tables;
    for (ObjectStub* stub : database.stubs())
        if (auto* table = stub->erased ? nullptr : AcDbSymbolTable::cast(stub->object);
            table && std::ranges::find(own, table->objectId()) == std::end(own))
            tables.emplace(table->tableName(), table->objectId());
    return tables;
}

} // namespace host
