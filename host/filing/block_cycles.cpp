#include "host/filing/block_cycles.h"

#include <map>
#include <vector>

#include "host/db/symbol_tables.h"
#include "host/entities/block_reference.h"

namespace host {
namespace {

// The blocks that the references among the block's entities insert.
std::vector<AcDbObjectId> insertedBy(AcDbObjectId block) {
    std::vector<AcDbObjectId> inserted;
    if (auto* record = liveObjectOf<AcDbBlockTableRecord>(block))
        for (AcDbObjectId id : record->entityIds())
            if (auto* reference = liveObjectOf<AcDbBlockReference>(id))
                inserted.push_back(reference->blockTableRecord());
    return inserted;
}

} // namespace

std::wstring blockInsertingItself(AcDbObjectId blocks) {
    auto* table = liveObjectOf<AcDbSymbolTable>(blocks);
    if (!table) return {};
    enum class Visit { Open, Done };
    std::map<AcDbObjectId, Visit> visits;
    // A depth-first walk with its own stack: each entry a block and the blocks it inserts not yet followed.
    struct Entry {
        AcDbObjectId block;
        std::vector<AcDbObjectId> pending;
    };
    for (AcDbObjectId root : table->recordIds()) {
        if (visits.contains(root)) continue;
        std::vector<Entry> stack{{root, insertedBy(root)}};
        visits[root] = Visit::Open;
        while (!stack.empty()) {
            Entry& top = stack.back();
            if (top.pending.empty()) {
                visits[top.block] = Visit::Done;
                stack.pop_back();
                continue;
            }
            const AcDbObjectId next = top.pending.back();
            top.pending.pop_back();
            const auto seen = visits.find(next);
            if (seen != visits.end() && seen->second == Visit::Open) {
                auto* record = liveObjectOf<AcDbBlockTableRecord>(next);
                return record ? std::wstring(record->name()) : next.handle().text();
            }
            if (seen != visits.end() || !liveObjectOf<AcDbBlockTableRecord>(next)) continue;
            visits[next] = Visit::Open;
            stack.push_back({next, insertedBy(next)});
        }
    }
    return {};
}

} // namespace host
