#pragma once
// The entity's process-wide words that no class interface shows, kept together so that one reset puts them
// back to their load values. Host command thread only.
#include "host/db/db_object_id.h"
#include "host/rx/rx.h"

namespace entity_state {

// Kind of the entity last changed (2 at load): what CPolyArc3D::desc answers from.
extern int lastKind;
// The entity last announced on an open for read, null when none counts as announced.
extern const host::ObjectStub* lastAnnounced;
// 0 while the next copy-filer write of an entity leaves its vertices out; 1.0 otherwise.
extern double headerOnlySwitch;
// The classes isCPolyArc3D recognises as tavro_poly and PolyArc3D (null at load).
extern AcRxClass* tavroClass;
extern AcRxClass* polyArcClass;
// The one of the two for a kind (1 or 2).
AcRxClass*& recognisedClass(int kind);

} // namespace entity_state
