#pragma once
// The two TEF colour tables, TEF0 (row 0) and TEF1 (row 1): entry i is the colour that drawing gives code i
// of that part of a vertex's type code (0: the polyline's own colour; entry 0 stays 0). A table is absent
// until a list fills it. Process-wide, host command thread only.
//
// A drawing keeps them in its named-objects dictionary: the entry "ZORTA_32" (a dictionary) holds, under
// "ZORTATEFCOLOR", an xrecord of text items (group 1), the first for TEF0, the second for TEF1, each the list
// that fills the table ("1,8,0,5,").
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class AcDbDatabase;
class AcDbXrecord;

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

// The xrecord under `key` (upper-cased) in the drawing's "ZORTA_32" dictionary (null database: the working
// one). Mode 0 opens it for read; 1 opens it for write, creating the dictionary and the xrecord when they
// are missing; -1 erases it and removes its key. The open xrecord, or null (always with mode -1, and for an
// empty key).
AcDbXrecord* getTefDictionary(const char* key, int mode, AcDbDatabase* db = nullptr);
// The texts of the drawing's TEF colour record, in order; their number (0 without a record).
int readTefColors(std::vector<std::string>& texts, AcDbDatabase* db = nullptr);
// Writes the texts as the drawing's TEF colour record, under the document lock; an empty list removes the
// record. 1 when done, 0 when the record could not be written.
int writeTefColors(const std::vector<std::string>& texts, AcDbDatabase* db = nullptr);
