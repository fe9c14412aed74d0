#pragma once
// Dimension styles of R12 and older name their arrow blocks in groups 5, 6 and 7 (DIMBLK, DIMBLK1, DIMBLK2);
// from R2000 on a style refers to the blocks' records instead (342, 343, 344), and readers of those versions
// look for nothing else.
#include "host/db/database.h"

namespace host {

// Turns each arrow block a dimension style of `db` names into a reference to that block's record, where the
// style has no such reference already. A name no block has is kept as it came; an empty one (the default
// arrow) is dropped, as R2000 writes nothing for it.
void referArrowBlocks(AcDbDatabase& db);

} // namespace host
