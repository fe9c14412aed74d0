#pragma once
// Blocks that insert themselves, directly or through other blocks, cannot be drawn, measured or exploded:
// the readers refuse a drawing that holds one, as CAD programs do.
#include <string>

#include "host/db/db_object_id.h"

namespace host {

// The name of a block of the block table `blocks` that inserts itself; empty when none does. Nesting of
// any depth is followed without recursion.
std::wstring blockInsertingItself(AcDbObjectId blocks);

} // namespace host
