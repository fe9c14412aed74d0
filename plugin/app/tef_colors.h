#pragma once
// The TEF colour tables as a drawing keeps them (the tables themselves are cadutil's). A drawing keeps them
// in its named-objects dictionary: the entry "ZORTA_32" (a dictionary) holds, under "ZORTATEFCOLOR", an
// xrecord of text items (group 1), the first for TEF0, the second for TEF1, each the list that fills the
// table ("1,8,0,5,").
#include <string>
#include <vector>

#include "cadutil/database/tef_color_tables.h"

class AcDbDatabase;
class AcDbXrecord;

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
