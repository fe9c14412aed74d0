#pragma once
// Layers whose linetype a drawing file names but does not hold (an erased linetype, or a name no linetype
// has) are drawn Continuous, as CAD programs draw them; the reader says which, so the change is not silent.
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

} // namespace host
