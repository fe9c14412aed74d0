#include "host/filing/arrow_blocks.h"

#include <algorithm>

#include "host/db/kept_tables.h"

namespace host {
namespace {

// The group naming an arrow block and the one referring to it.
constexpr struct { short named, referred; } kArrowGroups[] = {{5, 342}, {6, 343}, {7, 344}};

void referArrowBlocks(AcDbDatabase& db, AcDbDimStyleTableRecord& style) {
    std::vector<Group> groups = style.keptGroups();
    const auto has = [&](short code) {
        return std::ranges::find(groups, code, &Group::code) != groups.end();
    };
    bool changed = false;
    for (const auto& arrow : kArrowGroups) {
        const auto named = std::ranges::find(groups, arrow.named, &Group::code);
        if (named == groups.end() || has(arrow.referred)) continue;
        const std::wstring name = named->text();
        if (name.empty()) {
            groups.erase(named);
            changed = true;
        } else if (const AcDbObjectId block = db.blockId(name); !block.isNull()) {
            *named = {arrow.referred, block.handle()};
            changed = true;
        }
    }
    if (changed) style.setKeptGroups(std::move(groups));
}

} // namespace

void referArrowBlocks(AcDbDatabase& db) {
    const auto tables = keptTables(db);
    const auto found = tables.find(L"DIMSTYLE");
    auto* table = found == tables.end() ? nullptr : AcDbSymbolTable::cast(found->second.stub()->object);
    if (!table) return;
    for (AcDbObjectId id : table->recordIds())
        if (auto* style = id.isValid() ? AcDbDimStyleTableRecord::cast(id.stub()->object) : nullptr)
            referArrowBlocks(db, *style);
}

} // namespace host
