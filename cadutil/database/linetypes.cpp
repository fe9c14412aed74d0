#include "cadutil/database/linetypes.h"

#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/database/doc_lock.h"
#include "cadutil/database/spaces.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"

namespace {

struct Cache {
    std::string name; // at most 99 characters
    AcDbObjectId id;
    AcDbDatabase* db = nullptr;
    int tableReads = 0;
};

Cache& cache() {
    static Cache c;
    return c;
}

constexpr std::size_t kCachedName = 99;

// The cached id still names a linetype of that database: not erased, not from a freed database.
bool cacheValid(AcDbDatabase* db, const std::string& name) {
    const Cache& c = cache();
    return c.db == db && !c.id.isNull() && c.name == name.substr(0, kCachedName) &&
           host::isLiveStub(c.id.stub()) && c.id.database() == db && !c.id.isErased();
}

Acad::ErrorStatus lookUp(AcDbDatabase* db, const std::string& name, AcDbObjectId& id) {
    if (cacheValid(db, name)) {
        id = cache().id;
        return Acad::eOk;
    }
    AcDbLinetypeTable* table = nullptr;
    Acad::ErrorStatus es = db->getLinetypeTable(table, AcDb::kForRead);
    if (es != Acad::eOk) return es;
    ++cache().tableReads;
    es = table->getAt(codePageToWide(name).c_str(), id);
    table->close();
    if (es == Acad::eOk) cache() = {name.substr(0, kCachedName), id, db, cache().tableReads};
    return es;
}

// A new record in `db`'s table: a copy of `source`, or a placeholder without one.
Acad::ErrorStatus addRecord(AcDbDatabase* db, const std::string& name, const AcDbLinetypeTableRecord* source,
                            AcDbObjectId& id) {
    AcDbLinetypeTable* table = nullptr;
    Acad::ErrorStatus es = db->getLinetypeTable(table, AcDb::kForWrite);
    if (es != Acad::eOk) return es;
    auto* record = new AcDbLinetypeTableRecord;
    if (source) {
        record->copyFrom(source);
    } else {
        record->setName(codePageToWide(name).c_str());
        record->setComments(codePageToWide("***Ligne Non D\xe9"
                                           "finie***")
                                .c_str());
    }
    es = table->add(id, record);
    if (es == Acad::eOk)
        record->close();
    else
        delete record;
    table->close();
    return es;
}

} // namespace

Acad::ErrorStatus getLinetypeId(const char* name, AcDbObjectId& id, bool load, AcDbDatabase* db) {
    CDocLock lock;
    id.setNull();
    if (!db) db = workingDatabase();
    if (!db) return Acad::eInvalidInput;
    std::string wanted = name && *name ? name : "BYLAYER";
    Acad::ErrorStatus es = lookUp(db, wanted, id);
    if (es == Acad::eOk || !load) return es;
    bool working = db == workingDatabase();
    if (working) msgprintf("\nType Ligne :'%s' Inconnue err=%d ", wanted.c_str(), static_cast<int>(es));
    es = loadLinetype(wanted.c_str(), id, db);
    if (es == Acad::eOk && working) msgprintf(" ** CREE *** ");
    return es;
}

Acad::ErrorStatus loadLinetype(const char* name, AcDbObjectId& id, AcDbDatabase* db) {
    CDocLock lock;
    if (!db) db = workingDatabase();
    if (!db || !name || !*name) return Acad::eInvalidInput;
    AcDbDatabase* working = workingDatabase();
    AcDbLinetypeTableRecord* source = nullptr;
    AcDbLinetypeTable* table = nullptr;
    if (working && working != db && working->getLinetypeTable(table, AcDb::kForRead) == Acad::eOk) {
        table->getAt(codePageToWide(name).c_str(), source, AcDb::kForRead);
        table->close();
    }
    Acad::ErrorStatus es = addRecord(db, name, source, id);
    if (source) {
        source->close();
        if (es == Acad::eDuplicateRecordName) es = Acad::eOk; // already there: duplicates are ignored
        if (es == Acad::eOk) es = getLinetypeId(name, id, false, db);
    }
    return es;
}

void resetLinetypeCache() {
    cache() = Cache{};
}

int linetypeTableReads() {
    return cache().tableReads;
}
