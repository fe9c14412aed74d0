#pragma once
// How script items name entities, and the entities of the drawing they can name.
#include <string>
#include <string_view>
#include <vector>

#include "host/db/db_object_id.h"
#include "host/ge/ge.h"

namespace host {

// A handle in hexadecimal, "last" for the last entity made, or "!name" for the entity name held by the LISP
// symbol `name`; false with a message when the reference names no live entity.
bool resolveEntityRef(std::wstring_view ref, AcDbObjectId& id, std::wstring& error);

// The entities of the current space that are not erased, in drawing order.
std::vector<AcDbObjectId> currentSpaceEntities();
// The last entity that is not erased, of model or paper space; null when there is none.
AcDbObjectId lastEntity();
// Writes the entity name of `id` into a name given as a pointer (what the interface's ads_name parameters
// are).
void writeAdsName(Adesk::Int64* name, AcDbObjectId id);
// The middle of the entity's extents (world), or the origin when it has none.
AcGePoint3d entityMiddle(AcDbObjectId id);

} // namespace host
