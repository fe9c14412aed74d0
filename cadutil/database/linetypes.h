#pragma once
// Linetypes looked up by name, loaded when asked. The last one found is remembered (name, id, database),
// and checked before it is used again: a purged linetype or a freed database is not taken from memory.
#include "host/db/db_object_id.h"
#include "host/rx/acad_status.h"

class AcDbDatabase;

// The linetype of that name (null or empty: "BYLAYER"); when missing and `load` is set, loadLinetype. The
// host's status (eInvalidInput without a database).
Acad::ErrorStatus getLinetypeId(const char* name, AcDbObjectId& id, bool load, AcDbDatabase* db = nullptr);
// Copies the linetype from the working database into `db`, or, when the working database has none, makes a
// placeholder of that name with the comment "***Ligne Non Définie***". The host's status (eInvalidInput for
// an empty name or no database).
Acad::ErrorStatus loadLinetype(const char* name, AcDbObjectId& id, AcDbDatabase* db = nullptr);
// Test support: forgets the remembered linetype and how many times the table was read.
void resetLinetypeCache();
int linetypeTableReads();
