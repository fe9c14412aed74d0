#pragma once
// A symbol table's record as TBLSEARCH and TBLNEXT give it: the short list of the table's own groups that
// AutoLISP programs read, not the record's whole DXF (ENTGET of TBLOBJNAME gives that).
#include <string>

#include "host/db/db_object_id.h"
#include "host/lisp/lisp_value.h"

namespace host {

// The table LISP names "LAYER", "LTYPE", "BLOCK", "APPID", "STYLE", "VIEW", "UCS", "VPORT" or "DIMSTYLE" (any
// case) in the working drawing; null for another name or a table the drawing lacks.
AcDbObjectId lispTableNamed(const std::wstring& name);
// Whether TBLSEARCH and TBLNEXT see the record: a block table's layouts (*Model_Space, *Paper_Space) are not
// blocks to programs.
bool listedRecord(AcDbObjectId record);
// The record's list, (0 . "LAYER") first.
LispValue tableRecordList(AcDbObjectId record, const std::wstring& upperTableName);

} // namespace host
