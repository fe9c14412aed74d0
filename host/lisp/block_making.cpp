#include "host/lisp/block_making.h"

#include <algorithm>
#include <cwctype>
#include <string>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/entity.h"

namespace host {

namespace {

struct PendingBlock {
    AcDbDatabase* db = nullptr;
    std::unique_ptr<AcDbBlockTableRecord> record;
    std::vector<std::unique_ptr<AcDbEntity>> entities;
};

PendingBlock& pendingBlock() {
    static PendingBlock held;
    return held;
}

const Group* groupOf(const std::vector<Group>& groups, short code) {
    auto found = std::ranges::find(groups, code, &Group::code);
    return found == groups.end() ? nullptr : &*found;
}

bool isAnonymousName(const std::wstring& name) {
    return name.size() >= 2 && name[0] == L'*' && std::towupper(name[1]) == L'U';
}

// "*U" followed by the first number no block of the table has.
std::wstring freeAnonymousName(const AcDbBlockTable& table) {
    for (int n = 1;; ++n) {
        const std::wstring name = L"*U" + std::to_wstring(n);
        if (!table.has(name.c_str())) return name;
    }
}

} // namespace

bool blockBeingMade(const AcDbDatabase* db) {
    return pendingBlock().record && pendingBlock().db == db;
}

bool beginBlock(AcDbDatabase* db, const std::vector<Group>& groups) {
    dropBlock();
    const Group* nameGroup = groupOf(groups, 2);
    const std::wstring name = nameGroup ? nameGroup->text() : std::wstring();
    const Group* flagsGroup = groupOf(groups, 70);
    const Adesk::Int64 flags = flagsGroup ? flagsGroup->integer() : 0;
    const bool anonymous = isAnonymousName(name) || (flags & 1);
    if (name.empty() || (!anonymous && !db->blockId(name).isNull())) return false;
    auto record = std::make_unique<AcDbBlockTableRecord>();
    // The name is settled when the block is added: an anonymous block takes a free one then.
    if (record->setName(anonymous ? L"*U" : name.c_str()) != Acad::eOk) return false;
    if (const Group* base = groupOf(groups, 10)) record->setOrigin(base->point());
    record->setMarkerFlags(Adesk::Int16((anonymous ? 1 : 0) | (flags & 2)));
    pendingBlock() = {db, std::move(record), {}};
    return true;
}

void holdInBlock(std::unique_ptr<AcDbEntity> entity) {
    pendingBlock().entities.push_back(std::move(entity));
}

int endBlock(ads_name result) {
    PendingBlock held = std::move(pendingBlock());
    dropBlock();
    if (!held.record) return RTERROR;
    AcDbBlockTable* table = nullptr;
    if (held.db->getBlockTable(table, AcDb::kForWrite) != Acad::eOk) return RTERROR;
    if (held.record->isAnonymous()) held.record->setName(freeAnonymousName(*table).c_str());
    AcDbObjectId id;
    const Acad::ErrorStatus es = table->add(id, held.record.get());
    table->close();
    if (es != Acad::eOk) return RTERROR;
    AcDbBlockTableRecord* record = held.record.release(); // the drawing owns it
    for (std::unique_ptr<AcDbEntity>& entity : held.entities)
        if (record->appendAcDbEntity(entity.get()) == Acad::eOk) entity.release()->close();
    record->close();
    ads_name name;
    if (acdbGetAdsName(name, id) != Acad::eOk) return RTERROR;
    result[0] = name[0];
    result[1] = name[1];
    return RTNORM;
}

void dropBlock() {
    pendingBlock().entities.clear();
    pendingBlock().record.reset();
    pendingBlock().db = nullptr;
}

} // namespace host
