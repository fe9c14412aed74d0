#pragma once
// Proxy graphics of an entity: it draws itself as for a proxy, and what it draws is kept as an image that a
// program without its module can show.
#include <cstdint>
#include <vector>

#include "host/entities/entity.h"

namespace host {

// The image of what `entity` draws for proxy graphics (regeneration type 6); empty when it draws nothing.
std::vector<std::uint8_t> proxyGraphicsOf(AcDbEntity* entity);

} // namespace host
