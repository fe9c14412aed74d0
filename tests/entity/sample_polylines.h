#pragma once
// A drawing of polylines of both classes, with arcs, own systems and every vertex attribute, for the
// drawing-file tests and the outside reader's cross-check.
#include <vector>

#include "host/db/db_object_id.h"

class AcDbDatabase;

namespace poly_test {

// Adds the polylines to the model space of `db` (the classes registered) and answers their ids, in order:
// a PolyArc3D with its own system, a tavro_poly with another, a PolyArc3D in the world system.
std::vector<AcDbObjectId> addSamplePolylines(AcDbDatabase& db);

// Adds a linetype of that name to the linetype table of `db`.
void addLinetype(AcDbDatabase& db, const wchar_t* name);

} // namespace poly_test
