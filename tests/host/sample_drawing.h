#pragma once
// A drawing with one of each standard entity, layers, a linetype, a block and its insertion, a hatch,
// extended data and a dictionary with an xrecord: what the filing and drawing tests run over.
class AcDbDatabase;

namespace host::test {
// Adds the sample content to `db` (a database with the default drawing).
void buildSampleDrawing(AcDbDatabase& db);
} // namespace host::test
