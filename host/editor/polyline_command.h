#pragma once
// PLINE: a lightweight polyline drawn segment by segment in the current UCS. Straight segments, or arcs
// (Arc) that go on tangent to the last segment, pass through a second point (Second pt) or are given as ARC
// takes them (Angle, CEntre, Direction, Rayon); widths (LArgeur, Demi-largeur) that apply from the next
// segment on, the end width staying for the following ones; a length along the last direction (LOngueur);
// annUler takes the last segment back and Clore closes. What is drawn before Enter or a cancel is kept.
namespace host {

void plineCommand();

} // namespace host
