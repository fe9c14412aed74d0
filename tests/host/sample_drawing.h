#pragma once
// A drawing with one of each standard entity, layers, a linetype, a block and its insertion, a hatch,
// extended data and a dictionary with an xrecord: what the filing and drawing tests run over.
#include <string>
#include <vector>

#include "host/db/db_object_id.h"

class AcDbDatabase;

namespace host::test {
// Adds the sample content to `db` (a database with the default drawing).
void buildSampleDrawing(AcDbDatabase& db);
// Adds `depth` blocks named PREFIX0, PREFIX1, ...: each inserts the next `copies` times side by side, the
// last holds a line, and model space inserts the first. Answers the blocks' ids, the first first.
std::vector<AcDbObjectId> addNestedBlocks(AcDbDatabase& db, const std::wstring& prefix, int depth,
                                          int copies);
// Makes `block` insert `inserted`, as a block reference at the origin.
void addInsert(AcDbObjectId block, AcDbObjectId inserted);
} // namespace host::test
