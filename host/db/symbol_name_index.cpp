#include "host/db/symbol_name_index.h"

#include <atomic>
#include <cwctype>

#include "host/db/symbol_tables.h"

namespace host {
namespace {

std::atomic<std::uint64_t> namesEpoch{1};

// Names equal under sameSymbolName have the same key.
std::wstring nameKey(std::wstring_view name) {
    std::wstring key(name);
    for (wchar_t& c : key)
        c = static_cast<wchar_t>(std::towupper(c));
    return key;
}

} // namespace

void symbolNamesChanged() {
    namesEpoch.fetch_add(1, std::memory_order_relaxed);
}

void SymbolNameIndex::catchUp(const std::vector<AcDbObjectId>& records) {
    const std::uint64_t epoch = namesEpoch.load(std::memory_order_relaxed);
    if (m_builtIn != epoch || m_indexed > records.size()) {
        m_ids.clear();
        m_indexed = 0;
        m_builtIn = epoch;
    }
    for (; m_indexed < records.size(); ++m_indexed) {
        const AcDbObjectId id = records[m_indexed];
        // An id whose object is not read yet is left out: its object arriving changes the epoch.
        auto* record = id.isValid() ? AcDbSymbolTableRecord::cast(id.stub()->object) : nullptr;
        if (!record) continue;
        record->noteIndexed();
        m_ids[nameKey(record->name())].push_back(id);
    }
}

AcDbObjectId SymbolNameIndex::find(const std::vector<AcDbObjectId>& records, std::wstring_view name,
                                   bool erasedToo) {
    catchUp(records);
    auto it = m_ids.find(nameKey(name));
    if (it == m_ids.end()) return {};
    for (AcDbObjectId id : it->second)
        if (id.isValid() && (erasedToo || !id.isErased())) return id;
    return {};
}

} // namespace host
