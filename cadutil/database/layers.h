#pragma once
// Layers looked up by name and created when missing. A null database is the working database.
#include "host/db/db_object_id.h"
#include "host/rx/acad_status.h"

class AcDbDatabase;

// The layer of that name, created when missing: a name of 63 characters or more is cut to its first 61
// (with a message when that layer is created), a name holding "," is cut before it; "ROUTE$N100" takes
// colour, linetype and default viewport visibility from the layer "N100"; an empty name (or nothing after
// the "$") gives "LayerVide". The host's status.
Acad::ErrorStatus getLayerId(const char* name, AcDbObjectId& id, AcDbDatabase* db = nullptr);
