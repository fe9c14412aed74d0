#include "host/editor/double_click_edit.h"

#include "host/entities/entity.h"

HOST_DEFINE_ABSTRACT(AcDbDoubleClickEdit, AcRxObject)

namespace host {

bool doubleClickEntity(AcDbObjectId id, const AcGePoint3d& picked) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return false;
    auto* edit = AcDbDoubleClickEdit::cast(entity->queryX(AcDbDoubleClickEdit::desc()));
    if (!edit) {
        entity->close();
        return false;
    }
    edit->startEdit(entity, picked);
    edit->finishEdit();
    return true;
}

} // namespace host
