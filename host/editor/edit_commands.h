#pragma once
// The host's editing commands on any entity that answers the entity and curve protocol: LIST, MOVE, ROTATE,
// SCALE, MIRROR, STRETCH and BREAK. Points are typed in the current UCS.

namespace host {

void listCommand();
void moveCommand();
void rotateCommand();
void scaleCommand();
void mirrorCommand();
void stretchCommand();
void breakCommand();

} // namespace host
