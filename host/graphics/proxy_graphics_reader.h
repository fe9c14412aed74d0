#pragma once
// Shows a proxy-graphics image again: its primitives and traits drawn through a draw context, as the entity
// that made it drew them.
#include <cstddef>
#include <cstdint>

#include "host/graphics/gi.h"

namespace host {

struct ProxyGraphicsReplay {
    int drawn = 0;   // primitives drawn
    int skipped = 0; // entries not drawn: unknown, damaged, or past a size that cannot be followed
};

// Draws the image through `draw`; layers and linetypes are those of `database`'s tables. Damaged data is
// never read past its end: an entry too short for what it says is skipped, and the walk stops at an entry
// whose size leaves the image.
ProxyGraphicsReplay drawProxyGraphics(const std::uint8_t* image, std::size_t size, AcGiWorldDraw& draw,
                                      const AcDbDatabase* database);

} // namespace host
