#pragma once
// The dash pattern of a primitive's linetype for SVG: its elements (dashes positive, gaps negative, dots 0)
// scaled by the entity's linetype scale and the drawing's LTSCALE, as a stroke-dasharray value.
#include <string>

#include "host/graphics/kept_traits.h"

namespace host {

// "dash gap dash gap ..." in drawing units, a dot drawn `dotLength` long; empty for a continuous line (no
// elements, a linetype "by block", or one that cannot be read).
std::string svgDashArray(const Traits& traits, double dotLength);

} // namespace host
