#pragma once
// The drawing commands: LINE (segments one after the other, annUler, Clore), CIRCLE (centre and radius or
// diameter, 2P, 3P), ARC (host/editor/arc_command.h) and PLINE (host/editor/polyline_command.h).
// Points are typed in the current UCS; what is drawn lies in its plane.
namespace host {

void lineCommand();
void circleCommand();

} // namespace host
