#pragma once
// Lists in binary filing: their count, then their items. Reading stops at the first failure, so a damaged
// count costs no more than the bytes that are really there.
#include <iterator>

#include "host/filing/dwg_filer.h"

namespace host {

// Reads a count and calls `readItem` that many times while the filer stays sound.
template <typename F> void readCounted(AcDbDwgFiler* filer, F readItem) {
    Adesk::Int32 n = 0;
    filer->readInt32(&n);
    for (Adesk::Int32 i = 0; i < n && filer->filerStatus() == Acad::eOk; ++i)
        readItem();
}

// Writes the count of `items`, then calls `writeItem` on each.
template <typename Items, typename F>
void writeCounted(AcDbDwgFiler* filer, const Items& items, F writeItem) {
    filer->writeInt32(static_cast<Adesk::Int32>(std::size(items)));
    for (const auto& item : items)
        writeItem(item);
}

} // namespace host
