#pragma once
// Which later vertex of a list first meets each vertex in plan (both coordinates within a tolerance), without
// comparing every pair: the vertices are sorted by the cell of a grid twice the tolerance wide, then by their
// position in the list, and one sweep over the columns of cells pairs each cell with its eight neighbours
// (the only cells a meeting vertex can lie in).
#include <vector>

class P_Vertex;

// For each position i of `nodes`, the first position j >= i + gap whose vertex meets the one at i; -1 where
// none does.
std::vector<int> firstLaterMeetings(const std::vector<P_Vertex*>& nodes, double tolerance, int gap);
