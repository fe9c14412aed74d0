#include "cadutil/database/spaces.h"

#include "cadutil/command_line/print.h"
#include "cadutil/database/doc_lock.h"
#include "cadutil/database/host_variables.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/entity.h"
#include "platform/files/path_map.h"

namespace {

AcDbDatabase* orWorking(AcDbDatabase* db) {
    return db ? db : workingDatabase();
}

// Which space "current" means: paper space when TILEMODE is off and the paper-space viewport is current.
int currentSpace(AcDbDatabase* db) {
    resbuf viewport{};
    int cvport = 0;
    if (getVar("CVPORT", &viewport) == RTNORM) rbToInt(&cvport, &viewport);
    return !db->tilemode() && cvport == 1 ? 0 : 1;
}

} // namespace

AcDbDatabase* workingDatabase() {
    return acdbHostApplicationServices()->workingDatabase();
}

AcDbBlockTableRecord* openSpaceRecord(int model, AcDbDatabase* db, AcDb::OpenMode mode) {
    db = orWorking(db);
    AcDbBlockTableRecord* record = nullptr;
    if (!db || acdbOpenObject(record, model ? db->modelSpaceId() : db->paperSpaceId(), mode) != Acad::eOk)
        return nullptr;
    return record;
}

AcDbObjectId appendEntityToSpace(AcDbObjectId& id, AcDbEntity* entity, int space, AcDbDatabase* db) {
    CDocLock lock;
    id.setNull();
    db = orWorking(db);
    if (db && entity) {
        int model = space == -1 ? currentSpace(db) : space;
        AcDbBlockTableRecord* record = openSpaceRecord(model, db, AcDb::kForWrite);
        if (!record) record = openSpaceRecord(model, db, AcDb::kForWrite); // once more
        if (record) {
            if (record->appendAcDbEntity(id, entity) != Acad::eOk) id.setNull();
            record->close();
        }
    }
    if (id.isNull()) g_printHook("\n Erreur de DATABASE (se mettre en Mode SDI)");
    return id;
}

AcDbObjectId paperSpaceId(AcDbDatabase* db) {
    AcDbBlockTableRecord* record = openSpaceRecord(0, db, AcDb::kForRead);
    if (!record) return {};
    AcDbObjectId id = record->objectId();
    record->close();
    return id;
}

AcDbBlockTableRecordIterator* newModelSpaceIterator(AcDbDatabase* db) {
    AcDbBlockTableRecord* record = openSpaceRecord(1, db, AcDb::kForRead);
    if (!record) return nullptr;
    AcDbBlockTableRecordIterator* iterator = nullptr;
    record->newIterator(iterator, true, true);
    record->close();
    return iterator;
}

Acad::ErrorStatus readDwgShared(AcDbDatabase* side, const char* path, bool codePageConversion) {
    if (!side || !path) return Acad::eInvalidInput;
    std::wstring file = codePageToWide(platform::hostPath(path));
    return side->readDwgFile(file.c_str(), 4, codePageConversion);
}
