#include "host/graphics/proxy_graphics_format.h"

#include "host/db/symbol_tables.h"

namespace host::proxy_graphics {
namespace {

const AcDbSymbolTable* tableOf(AcDbObjectId id) {
    return id.isValid() ? AcDbSymbolTable::cast(id.stub()->object) : nullptr;
}

} // namespace

long recordIndex(AcDbObjectId table, AcDbObjectId record) {
    const AcDbSymbolTable* t = tableOf(table);
    if (!t || record.isNull()) return -1;
    long index = 0;
    for (AcDbObjectId id : t->recordIds()) {
        if (!id.isValid() || id.isErased()) continue;
        if (id == record) return index;
        ++index;
    }
    return -1;
}

AcDbObjectId recordAt(AcDbObjectId table, std::uint32_t index) {
    const AcDbSymbolTable* t = tableOf(table);
    if (!t) return {};
    std::uint32_t at = 0;
    for (AcDbObjectId id : t->recordIds()) {
        if (!id.isValid() || id.isErased()) continue;
        if (at++ == index) return id;
    }
    return {};
}

} // namespace host::proxy_graphics
