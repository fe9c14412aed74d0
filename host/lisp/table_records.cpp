#include "host/lisp/table_records.h"

#include <algorithm>
#include <map>

#include "host/db/database.h"
#include "host/db/kept_tables.h"
#include "host/db/symbol_tables.h"
#include "host/filing/dxf_filer.h"
#include "host/filing/group.h"

namespace host {

namespace {

// The groups each table's list keeps, in the record's DXF order; a table not named here keeps every group
// but the links between objects.
const std::map<std::wstring, std::vector<int>>& listedCodes() {
    static const std::map<std::wstring, std::vector<int>> codes = {
        {L"LAYER", {2, 70, 62, 6}},
        {L"LTYPE", {2, 70, 3, 72, 73, 40, 49, 74}},
        {L"STYLE", {2, 70, 40, 41, 50, 71, 42, 3, 4}},
        {L"APPID", {2, 70}},
    };
    return codes;
}

bool isLink(int code) {
    return code == 5 || code == 105 || code == 100 || code == 102 || code == 330 || code == 360 ||
           (code >= 340 && code <= 349) || (code >= 390 && code <= 399);
}

LispValue pair(int code, LispValue value) {
    return LispValue::list({LispValue::fromInteger(code), std::move(value)}, true);
}

LispValue entityName(AcDbObjectId id) {
    ads_name n;
    return acdbGetAdsName(n, id) == Acad::eOk ? LispValue::fromName(n) : LispValue::nil();
}

// A block as its BLOCK marker gives it: flags, base point, the first entity and an external reference's file.
LispValue blockList(const AcDbBlockTableRecord& block) {
    int flags = block.markerFlags();
    if (block.isAnonymous()) flags |= 1;
    if (block.hasAttributeDefinitions()) flags |= 2;
    if (*block.pathName()) flags |= 4;
    const AcGePoint3d base = block.origin();
    std::vector<LispValue> items = {
        pair(0, LispValue::fromString(L"BLOCK")), pair(2, LispValue::fromString(block.name())),
        pair(70, LispValue::fromInteger(flags)),
        LispValue::list({LispValue::fromInteger(10), LispValue::fromReal(base.x), LispValue::fromReal(base.y),
                         LispValue::fromReal(base.z)})};
    const std::vector<AcDbObjectId>& entities = block.entityIds();
    const auto first = std::find_if(entities.begin(), entities.end(),
                                    [](AcDbObjectId id) { return id.isValid() && !id.isErased(); });
    if (first != entities.end()) items.push_back(pair(-2, entityName(*first)));
    if (*block.pathName()) items.push_back(pair(1, LispValue::fromString(block.pathName())));
    return LispValue::list(items);
}

LispValue recordGroupsList(const AcDbObject& record, const std::wstring& table) {
    DxfGroupFiler filer(AcDb::kBagFiler, record.database());
    record.dxfOutFields(&filer);
    const auto listed = listedCodes().find(table);
    std::vector<Group> groups;
    for (const Group& g : filer.groups()) {
        const bool kept =
            listed == listedCodes().end()
                ? !isLink(g.code)
                : std::find(listed->second.begin(), listed->second.end(), g.code) != listed->second.end();
        if (kept) groups.push_back(g);
    }
    resbuf* chain = toResbufChain(groups, record.database());
    std::vector<LispValue> items = fromResbufs(chain);
    acutRelRb(chain);
    items.insert(items.begin(), pair(0, LispValue::fromString(table)));
    return LispValue::list(items);
}

} // namespace

AcDbObjectId lispTableNamed(const std::wstring& name) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return {};
    const std::pair<const wchar_t*, AcDbObjectId> own[] = {{L"LAYER", db->layerTableId()},
                                                           {L"LTYPE", db->linetypeTableId()},
                                                           {L"BLOCK", db->blockTableId()},
                                                           {L"APPID", db->regAppTableId()},
                                                           {L"STYLE", db->textStyleTableId()}};
    for (const auto& [table, id] : own)
        if (sameSymbolName(name, table)) return id;
    for (const auto& [table, id] : keptTables(*db))
        if (sameSymbolName(name, table)) return id;
    return {};
}

bool listedRecord(AcDbObjectId record) {
    AcDbBlockTableRecord* block = nullptr;
    if (acdbOpenObject(block, record, AcDb::kForRead) != Acad::eOk) return true;
    const bool layout = block->isLayout();
    block->close();
    return !layout;
}

LispValue tableRecordList(AcDbObjectId record, const std::wstring& upperTableName) {
    AcDbObject* object = nullptr;
    if (acdbOpenObject(object, record, AcDb::kForRead) != Acad::eOk) return LispValue::nil();
    const AcDbBlockTableRecord* block = AcDbBlockTableRecord::cast(object);
    LispValue list = block ? blockList(*block) : recordGroupsList(*object, upperTableName);
    object->close();
    return list;
}

} // namespace host
