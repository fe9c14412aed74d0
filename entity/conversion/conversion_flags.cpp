#include "entity/conversion/conversion_flags.h"

#include "cadutil/database/spaces.h"
#include "host/db/resbuf.h"
#include "host/entities/entity.h"

namespace conversion {

void copyXData(const AcDbEntity& source, AcDbEntity& target) {
    resbuf* xdata = source.xData();
    if (!xdata) return;
    target.setXData(xdata);
    acutRelRb(xdata);
}

bool replaceByAppending(AcDbEntity& source, AcDbEntity& made) {
    if (!source.database()) return false;
    AcDbObjectId id;
    if (appendEntityToSpace(id, &made, -1, source.database()).isNull()) return false;
    if (!source.isWriteEnabled()) source.upgradeOpen();
    source.erase();
    source.close();
    return true;
}

bool appendToCurrentSpace(AcDbEntity& made) {
    AcDbObjectId id;
    return !appendEntityToSpace(id, &made, -1, nullptr).isNull();
}

} // namespace conversion
