#pragma once
// Blocks looked up by name; a missing symbol block is read from its drawing file, found by a search
// order, and a placeholder stands for one that cannot be found. A null database is the working database.
#include "host/db/db_object_id.h"
#include "host/rx/acad_status.h"

class AcDbDatabase;

// The block of that name, loaded with loadSymbolBlock when missing. The host's status.
Acad::ErrorStatus getBlockId(const char* name, AcDbObjectId& id, AcDbDatabase* db = nullptr);
// The block from its drawing file: the argument itself when it is a path ("X:\...", "..\..."), else
// NAME.DWG in the "INSERTS\" folder beside the default job file, else on the folders of the setting
// "DIRSYMBOLE". A file in the host's binary or DXF format is read and inserted as the block; when no file is
// found (or the drawing has no model space) the block holds one point on the layer "$ERROR". The status of
// the insertion.
Acad::ErrorStatus loadSymbolBlock(const char* nameOrPath, AcDbObjectId& id, AcDbDatabase* db = nullptr);
