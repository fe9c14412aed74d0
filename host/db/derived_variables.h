#pragma once
// The read-only variables worked out when a program reads them: the clock (DATE, CDATE, MILLISECS), the
// machine (PLATFORM), the product the host stands for (PRODUCT) and whether the drawing has changes not saved
// (DBMOD).
#include <string>

#include "host/filing/group.h"

class AcDbDatabase;

namespace host {

// False when `name` is none of them.
bool derivedVariable(const std::wstring& name, const AcDbDatabase* db, Group& value);

// CECOLOR as programs read and set it: "BYLAYER", "BYBLOCK" or the colour's index as text.
std::wstring colorText(int index);
// The index a colour text names; -1 for a text that names none.
int colorIndexOf(const std::wstring& text);

} // namespace host
