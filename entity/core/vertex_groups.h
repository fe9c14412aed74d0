#pragma once
// The DXF groups of one vertex as files and entity lists hand them over. Heights and widths go into their
// 32-bit fixed-point fields (value × 100,000) rounded to the nearest unit, so that a value written reads back
// exactly (0.3 stays 30000), and are refused when they do not fit.
#include <cstdint>
#include <limits>

#include "host/db/resbuf.h"

class P_Vertex;

constexpr double kFixedScale = 100000.0;
// The largest height or width, either way, that its fixed-point field holds.
constexpr double kLargestFixedValue = std::numeric_limits<std::int32_t>::max() / kFixedScale;

// The empty value _RVIDE gives 0; false (fixed untouched) for a value that is not finite or does not fit.
bool toFixed(double value, std::int32_t& fixed);

// Sets the field of group 39, 40 (heights and widths), 42 (bulge), 70 (flag word), 71, 72 (vertex code) or
// 90 (tag, sign-extended from 32 bits) of v; other groups are ignored. False, v unchanged, for a height or
// width that does not fit.
bool setVertexGroup(P_Vertex& v, const resbuf& rb);
