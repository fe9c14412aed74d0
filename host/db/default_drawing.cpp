#include "host/db/database.h"
#include "host/db/dictionary.h"
#include "host/db/symbol_tables.h"
#include "host/filing/dxf_file.h"

namespace host {
namespace {

// The table `id`, created (and its id stored through `set`) when the drawing has none.
template <typename Table> AcDbObjectId ensureTable(AcDbDatabase& db, AcDbObjectId id) {
    if (id.isValid()) return id;
    auto* table = new Table;
    db.addAcDbObject(id, table);
    table->close();
    return id;
}

// Adds a record of that name when the table lacks it.
template <typename Record> void ensureRecord(AcDbObjectId tableId, const wchar_t* name, Record* record) {
    AcDbSymbolTable* table = nullptr;
    if (acdbOpenObject(table, tableId, AcDb::kForWrite) != Acad::eOk || table->has(name)) {
        delete record;
        if (table) table->close();
        return;
    }
    record->setName(name);
    if (table->add(record) == Acad::eOk)
        record->close();
    else
        delete record;
    table->close();
}

} // namespace

void completeDrawing(AcDbDatabase& db) {
    AcDbObjectId named = db.namedObjectsDictionaryId();
    if (!named.isValid()) {
        auto* dictionary = new AcDbDictionary;
        db.addAcDbObject(named, dictionary);
        dictionary->close();
    }
    db.setTableIds(ensureTable<AcDbBlockTable>(db, db.blockTableId()),
                   ensureTable<AcDbLayerTable>(db, db.layerTableId()),
                   ensureTable<AcDbLinetypeTable>(db, db.linetypeTableId()),
                   ensureTable<AcDbRegAppTable>(db, db.regAppTableId()),
                   ensureTable<AcDbTextStyleTable>(db, db.textStyleTableId()), named);
    ensureRecord(db.linetypeTableId(), L"ByBlock", new AcDbLinetypeTableRecord);
    ensureRecord(db.linetypeTableId(), L"ByLayer", new AcDbLinetypeTableRecord);
    auto* continuous = new AcDbLinetypeTableRecord;
    continuous->setComments(L"Solid line");
    ensureRecord(db.linetypeTableId(), L"Continuous", continuous);
    auto* layer0 = new AcDbLayerTableRecord;
    layer0->setLinetypeObjectId(db.continuousLinetype());
    ensureRecord(db.layerTableId(), L"0", layer0);
    ensureRecord(db.regAppTableId(), L"ACAD", new AcDbRegAppTableRecord);
    ensureRecord(db.textStyleTableId(), L"Standard", new AcDbTextStyleTableRecord);
    ensureRecord(db.blockTableId(), kModelSpace, new AcDbBlockTableRecord);
    ensureRecord(db.blockTableId(), kPaperSpace, new AcDbBlockTableRecord);
    AcDbDictionary* dictionary = nullptr;
    if (acdbOpenObject(dictionary, named, AcDb::kForWrite) == Acad::eOk) {
        if (!dictionary->has(L"ACAD_GROUP")) {
            AcDbObjectId groups;
            auto* group = new AcDbDictionary;
            if (dictionary->setAt(L"ACAD_GROUP", group, groups) == Acad::eOk)
                group->close();
            else
                delete group;
        }
        dictionary->close();
    }
}

} // namespace host
