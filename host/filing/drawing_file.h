#pragma once
// The host's own binary drawing file: the header variables, the table and dictionary ids, then every
// object filed with the binary filer under its class name and handle.
#include <string>

#include "host/rx/acad_status.h"

class AcDbDatabase;

namespace host {
// Reads a drawing file into `database` (replacing what it held). The format is told by content: a binary
// drawing, else an ASCII DXF file. On failure the database is left as it was and lastFileError() tells why.
Acad::ErrorStatus readDrawing(AcDbDatabase& database, const std::wstring& fileName);
Acad::ErrorStatus writeDrawingFile(AcDbDatabase& database, const std::wstring& fileName);
// The same in memory: a drawing's content, told by content, and the bytes of its binary drawing.
Acad::ErrorStatus readDrawingContent(AcDbDatabase& database, const std::string& content);
Acad::ErrorStatus writeDrawing(AcDbDatabase& database, std::string& bytes);
// True when the file starts like a binary drawing.
bool isBinaryDrawing(const std::string& content);
} // namespace host
