#pragma once
// The two TEF colour tables, TEF0 (row 0) and TEF1 (row 1): entry i is the colour that drawing gives code i
// of that part of a vertex's type code (0: the polyline's own colour; entry 0 stays 0). A table is absent
// until a list fills it. Process-wide, host command thread only: the commands fill them, the entity's
// drawing reads them.
#include <array>
#include <cstdint>
#include <string>

using TefColorTable = std::array<std::uint16_t, 256>;

// The table of row 0 or 1; null when it is absent or for another row.
const TefColorTable* tefColorTable(int row);
// Frees the row's table and, for a non-empty list of comma-separated decimal numbers, fills a new one: the
// first number goes to entry 1, the next to entry 2, up to 255 numbers (further ones are ignored). A number
// above 256 or below 0 leaves the table absent. Rows other than 0 and 1 are ignored.
void setTefColorList(int row, const char* text);
// The list of a table as the drawing keeps it: entries 1 up to the last non-zero one, each followed by a
// comma; empty for an absent or all-zero table.
std::string tefColorText(int row);
// Test support: both tables absent.
void resetTefColors();
