#pragma once
// The colour a segment takes from the vertex code of its start vertex and the two TEF colour tables.
#include <cstdint>

class P_Vertex;

// TEF table 0 at tef1 when tef1, the table and its entry are non-zero; else TEF table 1 at tef2 when tef2
// is non-zero and the table exists (its entry when non-zero); colour 9 when neither table exists and tef2
// has bit 0 or 1 set; otherwise defaultColor. Codes are read as unsigned bytes, so 128 to 255 index the
// tables' upper entries. 0 for a null vertex.
std::uint16_t tefColor(const P_Vertex* v, std::uint16_t defaultColor);
