#pragma once
// The double-click protocol: a class that wants its entities edited on a double click carries an
// AcDbDoubleClickEdit extension. The host hands the extension the entity open for read; the extension closes
// it.
#include "host/db/db_object_id.h"
#include "host/ge/ge.h"
#include "host/rx/rx.h"

class AcDbEntity;

class AcDbDoubleClickEdit : public AcRxObject {
    HOST_DECLARE_MEMBERS(AcDbDoubleClickEdit)
public:
    virtual void startEdit(AcDbEntity* entity, AcGePoint3d pickedPoint) = 0;
    virtual void finishEdit() = 0;
};

namespace host {

// A double click on the entity at `picked`: false when it cannot be opened or its class has no extension.
bool doubleClickEntity(AcDbObjectId id, const AcGePoint3d& picked);

} // namespace host
