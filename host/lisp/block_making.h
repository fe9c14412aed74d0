#pragma once
// Block definitions made by ENTMAKE: a BLOCK list opens the definition, the entities made next join it
// instead of model space, and ENDBLK adds the block to the drawing with them.
#include <memory>
#include <vector>

#include "host/db/resbuf.h"
#include "host/filing/group.h"

class AcDbDatabase;
class AcDbEntity;

namespace host {

// Whether a block definition is open in `db`.
bool blockBeingMade(const AcDbDatabase* db);
// Opens the definition a BLOCK list gives: its name (2), base point (10) and flags (70). False, nothing
// opened, for a list without a name or a named block the drawing has already.
bool beginBlock(AcDbDatabase* db, const std::vector<Group>& groups);
// The open definition takes `entity`.
void holdInBlock(std::unique_ptr<AcDbEntity> entity);
// Adds the open block to the drawing with its entities, `result` naming its record. An anonymous block
// ("*U") takes the next free "*U" name. RTERROR when no block is open or the drawing refuses it.
int endBlock(ads_name result);
// Drops the open definition and the entities it holds.
void dropBlock();

} // namespace host
