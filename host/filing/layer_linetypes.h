#pragma once
// Layers a drawing file leaves wrong, repaired as CAD programs repair them, with a note so that the change is
// not silent: a layer whose linetype the file names but does not hold (an erased linetype, or a name no
// linetype has) is drawn Continuous, and a layer entities name but the file does not define is made.
#include <functional>
#include <string>

#include "host/db/symbol_tables.h"

namespace host {

// Gives Continuous to every layer of `db` whose linetype is no live linetype of its table. `namedLinetype`
// tells which linetype the file named for such a layer, and may give the layer that linetype when the
// drawing holds it after all; a layer whose file named none takes Continuous without a word. Returns the
// note for the command line, empty when no named linetype was replaced.
std::wstring repairLayerLinetypes(AcDbDatabase& db,
                                  const std::function<std::wstring(AcDbLayerTableRecord&)>& namedLinetype);

// Makes each layer an entity of `db` names and its layer table lacks (colour 7, Continuous), as survey
// instruments' files of entities alone and files whose LAYER table leaves some out need. Returns the note,
// empty when none was made. The layer table must be closed.
std::wstring addLayersEntitiesName(AcDbDatabase& db);

} // namespace host
