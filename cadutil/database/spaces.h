#pragma once
// The plug-in's access to the drawing's spaces: appending entities, the space records, and reading side
// drawings. A null database is the host's working database.
#include "host/db/acdb.h"
#include "host/db/db_object_id.h"
#include "host/rx/acad_status.h"

class AcDbDatabase;
class AcDbEntity;
class AcDbBlockTableRecord;
class AcDbBlockTableRecordIterator;

AcDbDatabase* workingDatabase();
// Appends the entity to model space (space non-zero), paper space (0) or the current space (-1: paper
// space when TILEMODE is off and CVPORT is 1). The id, null on failure (with a message).
AcDbObjectId appendEntityToSpace(AcDbObjectId& id, AcDbEntity* entity, int space, AcDbDatabase* db = nullptr);
// "*Model_Space" (model non-zero) or "*Paper_Space" opened in `mode`; null when it cannot be.
AcDbBlockTableRecord* openSpaceRecord(int model, AcDbDatabase* db, AcDb::OpenMode mode);
AcDbObjectId paperSpaceId(AcDbDatabase* db);
// A new iterator over model space from its start, skipping erased entities; the caller deletes it.
AcDbBlockTableRecordIterator* newModelSpaceIterator(AcDbDatabase* db);
// Reads a drawing file (of the system's path grammar) into a side database.
Acad::ErrorStatus readDwgShared(AcDbDatabase* side, const char* path, bool codePageConversion);
