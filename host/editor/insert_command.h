#pragma once
// -INSERT: a block by name, its insertion point, X and Y scales and angle, then the values of its attributes
// in the order the block defines them, each defaulting to the definition's text; constant attributes stay in
// the block and preset ones take their default unasked.
namespace host {

void insertCommand();

} // namespace host
