#pragma once
// SVG pictures of recorded drawings, in plan (x to the right, y up): one element per primitive, with its
// colour and the handle of the entity that drew it, its selection marker and layer as data-handle,
// data-marker and data-layer attributes.
#include <string>
#include <vector>

#include "host/graphics/graphics_recorder.h"

namespace host {

// The RGB colour of a colour index (1-255) on a white sheet (index 7 is black), as "#rrggbb".
std::string colorIndexToRgb(Adesk::UInt16 index);
std::string writeSvg(const std::vector<Primitive>& primitives);

} // namespace host
