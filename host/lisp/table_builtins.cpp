// Symbol tables and dictionaries as LISP reads them: TBLSEARCH, TBLNEXT, TBLOBJNAME, REGAPP, NAMEDOBJDICT,
// DICTSEARCH and DICTNEXT. A dictionary's object is its list of DXF groups, as ENTGET gives an entity's,
// without the links between objects (handles, owners, subclass markers).
#include <map>

#include "host/db/database.h"
#include "host/db/db_object.h"
#include "host/db/dictionary.h"
#include "host/db/symbol_tables.h"
#include "host/filing/dxf_filer.h"
#include "host/filing/group.h"
#include "host/lisp/lisp_builtins.h"
#include "host/lisp/table_records.h"

namespace host {

namespace {

AcDbDatabase* drawing() {
    return acdbHostApplicationServices()->workingDatabase();
}

LispValue nameOf(AcDbObjectId id) {
    ads_name n;
    return acdbGetAdsName(n, id) == Acad::eOk ? LispValue::fromName(n) : LispValue::nil();
}

// (-1 . name) (0 . type) then the object's own groups.
LispValue objectList(AcDbObjectId id) {
    AcDbObject* object = nullptr;
    if (acdbOpenObject(object, id, AcDb::kForRead) != Acad::eOk) return LispValue::nil();
    DxfGroupFiler filer(AcDb::kBagFiler, object->database());
    object->dxfOutFields(&filer);
    std::vector<Group> groups;
    for (const Group& g : filer.groups())
        if (g.code != 100 && g.code != 330 && g.code != 360 && g.code != 5 && g.code != 102)
            groups.push_back(g);
    std::wstring dxfName = object->isA() && object->isA()->dxfName() ? object->isA()->dxfName() : L"";
    resbuf* chain = toResbufChain(groups, object->database());
    object->close();
    std::vector<LispValue> items = fromResbufs(chain);
    acutRelRb(chain);
    items.insert(items.begin(),
                 LispValue::list({LispValue::fromInteger(0), LispValue::fromString(dxfName)}, true));
    items.insert(items.begin(), LispValue::list({LispValue::fromInteger(-1), nameOf(id)}, true));
    return LispValue::list(std::move(items));
}

// The records TBLNEXT walks: erased ones and a block table's layouts left out.
std::vector<AcDbObjectId> recordsOf(AcDbObjectId table) {
    AcDbSymbolTable* t = nullptr;
    if (acdbOpenObject(t, table, AcDb::kForRead) != Acad::eOk) return {};
    std::vector<AcDbObjectId> ids;
    for (AcDbObjectId id : t->recordIds()) {
        AcDbObject* record = nullptr;
        if (acdbOpenObject(record, id, AcDb::kForRead) != Acad::eOk) continue; // erased
        record->close();
        if (listedRecord(id)) ids.push_back(id);
    }
    t->close();
    return ids;
}

AcDbObjectId recordNamed(AcDbObjectId table, const std::wstring& name) {
    AcDbSymbolTable* t = nullptr;
    if (acdbOpenObject(t, table, AcDb::kForRead) != Acad::eOk) return {};
    AcDbObjectId id = t->recordNamed(name);
    t->close();
    return id;
}

// Where TBLNEXT and DICTNEXT are in each table and dictionary: the index of the next item.
std::map<AcDbObjectId, std::size_t>& cursors() {
    static std::map<AcDbObjectId, std::size_t> positions;
    return positions;
}

std::wstring upperTableName(const std::wstring& name) {
    std::wstring upper = name;
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(c >= L'a' && c <= L'z' ? c - 32 : c);
    return upper;
}

// (TBLSEARCH table name [setnext]).
LispValue tblsearch(const std::wstring& tableName, const std::wstring& name, std::optional<bool> setNext) {
    AcDbObjectId table = lispTableNamed(tableName);
    AcDbObjectId id = table.isNull() ? AcDbObjectId() : recordNamed(table, name);
    if (id.isNull() || !listedRecord(id)) return LispValue::nil();
    if (setNext.value_or(false)) {
        std::vector<AcDbObjectId> ids = recordsOf(table);
        cursors()[table] = static_cast<std::size_t>(std::find(ids.begin(), ids.end(), id) - ids.begin()) + 1;
    }
    return tableRecordList(id, upperTableName(tableName));
}

// (TBLNEXT table [rewind]).
LispValue tblnext(const std::wstring& tableName, std::optional<bool> rewind) {
    AcDbObjectId table = lispTableNamed(tableName);
    if (table.isNull()) return LispValue::nil();
    std::size_t& next = cursors()[table];
    if (rewind.value_or(false)) next = 0;
    std::vector<AcDbObjectId> ids = recordsOf(table);
    if (next >= ids.size()) return LispValue::nil();
    return tableRecordList(ids[next++], upperTableName(tableName));
}

AcDbObjectId objectIdOf(LispEntityName entity) {
    AcDbObjectId id;
    if (acdbGetObjectId(id, entity.value.name) != Acad::eOk) return {};
    return id;
}

std::vector<std::pair<std::wstring, AcDbObjectId>> entriesOf(AcDbObjectId dictionary) {
    AcDbDictionary* d = nullptr;
    if (acdbOpenObject(d, dictionary, AcDb::kForRead) != Acad::eOk) return {};
    std::vector<std::pair<std::wstring, AcDbObjectId>> entries;
    AcDbDictionaryIterator* it = d->newIterator();
    for (; it && !it->done(); it->next())
        entries.emplace_back(it->name(), it->objectId());
    delete it;
    d->close();
    return entries;
}

// (DICTSEARCH dictionary key [setnext]).
LispValue dictsearch(LispEntityName named, const std::wstring& key, std::optional<bool> setNext) {
    AcDbObjectId dictionary = objectIdOf(named);
    std::vector<std::pair<std::wstring, AcDbObjectId>> entries = entriesOf(dictionary);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (sameSymbolName(entries[i].first, key)) {
            if (setNext.value_or(false)) cursors()[dictionary] = i + 1;
            return objectList(entries[i].second);
        }
    return LispValue::nil();
}

// (DICTNEXT dictionary [rewind]).
LispValue dictnext(LispEntityName named, std::optional<bool> rewind) {
    AcDbObjectId dictionary = objectIdOf(named);
    std::size_t& next = cursors()[dictionary];
    if (rewind.value_or(false)) next = 0;
    std::vector<std::pair<std::wstring, AcDbObjectId>> entries = entriesOf(dictionary);
    if (next >= entries.size()) return LispValue::nil();
    return objectList(entries[next++].second);
}

} // namespace

const LispBuiltinTable& tableBuiltins() {
    static const LispBuiltinTable table = {
        {L"TBLSEARCH", lispFunction(tblsearch)},
        {L"TBLNEXT", lispFunction(tblnext)},
        {L"TBLOBJNAME", lispFunction([](const std::wstring& tableName, const std::wstring& name) {
             AcDbObjectId t = lispTableNamed(tableName);
             return t.isNull() ? LispValue::nil() : nameOf(recordNamed(t, name));
         })},
        {L"REGAPP", lispFunction([](const std::wstring& name) {
             return acdbRegApp(name.c_str()) == RTNORM ? LispValue::fromString(name) : LispValue::nil();
         })},
        {L"NAMEDOBJDICT", lispFunction([] {
             AcDbDatabase* db = drawing();
             return db ? nameOf(db->namedObjectsDictionaryId()) : LispValue::nil();
         })},
        {L"DICTSEARCH", lispFunction(dictsearch)},
        {L"DICTNEXT", lispFunction(dictnext)},
    };
    return table;
}

} // namespace host
