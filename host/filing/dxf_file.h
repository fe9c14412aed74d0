#pragma once
// Drawings as ASCII DXF files (R12 to R2018 read, saved from AC1015 on): HEADER, CLASSES, TABLES, BLOCKS,
// ENTITIES and OBJECTS, every object with its handle and owner, objects made by DXF name through the class
// registry.
#include <string>

#include "host/rx/acad_status.h"

class AcDbDatabase;

namespace host {

// Reads a DXF file's content (ASCII, or binary by its sentinel) into `database`, replacing what it held. On
// failure the database is left as it was and lastFileError() names the line. Entities and objects of classes
// no loaded module defines are kept as proxies (filing/proxies.h); tables this host does not keep are left
// out.
Acad::ErrorStatus readDxf(AcDbDatabase& database, const std::string& content);
// Saves in the version the drawing was read in where that is AC1015 (R2000) or later, else in AC1015; texts
// are UTF-8 from AC1021 on. Saving to a file notes a version changed (an R12 drawing saved as R2000).
std::string writeDxf(const AcDbDatabase& database);

Acad::ErrorStatus readDxfFile(AcDbDatabase& database, const std::wstring& fileName);
Acad::ErrorStatus writeDxfFile(AcDbDatabase& database, const std::wstring& fileName);

// The version a DXF save writes ($ACADVER).
constexpr const wchar_t* kDefaultDxfVersion = L"AC1015";
std::wstring dxfVersionToSave(const AcDbDatabase& database);

// Adds what a drawing needs and a file may lack: the tables, model and paper space, layer "0", the
// linetypes "ByBlock", "ByLayer" and "Continuous", the text style "Standard", the application "ACAD"
// and the named-objects dictionary.
void completeDrawing(AcDbDatabase& database);

} // namespace host
