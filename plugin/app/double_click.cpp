#include "plugin/app/double_click.h"

#include "entity/core/poly_classes.h"
#include "host/editor/documents.h"
#include "host/entities/entity.h"
#include "plugin/app/command_handlers.h"

void AcDbDoubleClickEditPolyArc3D::startEdit(AcDbEntity* entity, AcGePoint3d pickedPoint) {
    if (!entity) return;
    const bool polyline = entity->isKindOf(PolyArc3D::desc());
    const AcDbObjectId id = entity->objectId();
    // Whatever it is, the entity was handed over open: it is closed here.
    entity->close();
    if (!polyline) return;
    AcApDocument* doc = acDocManager->curDocument();
    const bool locked =
        doc && acDocManager->lockDocument(doc, AcAp::kWrite, nullptr, nullptr, true) == Acad::eOk;
    editPolylineAtPick(id, pickedPoint);
    if (locked) acDocManager->unlockDocument(doc);
}
