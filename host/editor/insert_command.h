#pragma once
// -INSERT: a block by name (a name that is no block of the drawing names a drawing file, found through the
// support path, whose model space becomes the block of that name, as in the CAD program), its insertion
// point, X and Y scales and angle, then the values of its attributes in the order the block defines them,
// each defaulting to the definition's text; constant attributes stay in the block and preset ones take their
// default unasked.
namespace host {

void insertCommand();

} // namespace host
