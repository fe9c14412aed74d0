#pragma once
// The inquiry commands: ID (a point's coordinates, kept as LASTPOINT), DIST (the distance and angles between
// two points, kept as DISTANCE) and AREA (of a boundary given by points, or of a curve chosen with Objet;
// kept as AREA and PERIMETER).
namespace host {

void idCommand();
void distCommand();
void areaCommand();

} // namespace host
