#pragma once
// A symbol table's records by name, so that a look-up does not compare every name in the table.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/db/db_object_id.h"

namespace host {

// Record ids by name, without regard to case, in the table's order (erased records too: erasing changes no
// entry, look-ups check it). Records that join the table are added as they come; the index is rebuilt on
// the next look-up when the table's list was replaced (reset) or when a listed record changed its name or
// any record's id came to stand for another object (symbolNamesChanged).
class SymbolNameIndex {
public:
    // The first record of `records` named `name` that is not erased (or, with erasedToo, the first one).
    AcDbObjectId find(const std::vector<AcDbObjectId>& records, std::wstring_view name, bool erasedToo);
    void reset() { m_builtIn = 0; }

private:
    void catchUp(const std::vector<AcDbObjectId>& records);

    std::unordered_map<std::wstring, std::vector<AcDbObjectId>> m_ids;
    std::uint64_t m_builtIn = 0; // the names epoch the index was built in; 0 when it must be rebuilt
    std::size_t m_indexed = 0;   // how many of the table's records it holds
};

// A record some index holds changed its name, or an id now stands for another object: every index is
// rebuilt on its next look-up.
void symbolNamesChanged();

} // namespace host
