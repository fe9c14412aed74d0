#pragma once
// The host's editing commands on any entity that answers the entity and curve protocol: LIST, ERASE, COPY,
// MOVE, ROTATE, SCALE, MIRROR, STRETCH, BREAK and EXPLODE, and the drag of grips at the command prompt.
// Points are typed in the current UCS. What a command would change is never taken from a locked layer;
// LIST and COPY, which change nothing, take it.
#include "host/db/db_object_id.h"
#include "host/ge/ge.h"

namespace host {

void listCommand();
void eraseCommand();
// Copies to one second point after another (annUler takes the last copies back).
void copyCommand();
void moveCommand();
void rotateCommand();
void scaleCommand();
void mirrorCommand();
void stretchCommand();
void breakCommand();
// Each chosen entity's explode: the parts join the entity's block and the entity is erased.
void explodeCommand();
// The grips of the entity within PICKBOX of `from` (world, in plan) moved to `to`.
void dragGrips(AcDbObjectId entity, const AcGePoint3d& from, const AcGePoint3d& to);

} // namespace host
