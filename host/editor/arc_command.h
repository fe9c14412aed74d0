#pragma once
// ARC as a CAD program takes it: three points; a start, CEntre and then an end, an included Angle or a chord
// Longueur; a start, FIn and then a centre, an included Angle, the Direction of the tangent at the start or
// a Rayon; or CEntre first, then the start and the same choices; or Enter, going on from the end of the last
// line, arc or polyline drawn, tangent to it, to an end point. Arcs turn counter-clockwise from the start;
// a negative angle turns clockwise, a negative chord or radius takes the larger arc.
namespace host {

void arcCommand();

} // namespace host
