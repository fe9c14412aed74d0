#pragma once
// What the definition file reader and the look-ups share inside the library.
class CtesProj;

namespace geometry::projections {

// The first projection whose name begins with `name` over max(4, its length) characters, without reading
// the file; "*" gives the first projection.
CtesProj* findProjection(const char* name);
// Forgets the remembered look-up by coordinates (its projection is about to be freed).
void forgetCoordinateLookup();

} // namespace geometry::projections
