#pragma once
// System variables: those a drawing keeps (LTSCALE, TILEMODE, ELEVATION, CLAYER, TEXTSIZE, ...) live in the
// working database's header, with a default where a drawing file leaves one out; the others belong to the
// session (CVPORT, APERTURE, VIEWSIZE, SCREENSIZE, OSMODE, CMDNAMES, MENUBAR, ...) and start from their
// defaults. DBMOD, DATE, CDATE, PLATFORM and PRODUCT are worked out when read; any other variable of the
// drawing file's header reads as the file gave it.
#include <string>

#include "host/db/resbuf.h"
#include "host/filing/group.h"

// The value of a variable (RTSHORT, RTREAL, RTPOINT or RTSTR; a text is allocated with acutNewString and
// freed by the caller). RTERROR for an unknown name.
int acedGetVar(const ACHAR* name, resbuf* result);
// RTERROR for an unknown name, a read-only variable (SCREENSIZE, CMDNAMES) or a value of the wrong type.
int acedSetVar(const ACHAR* name, const resbuf* value);

namespace host {
// The host's own side: it writes the read-only variables (the running command names, the screen).
bool setSessionVariable(const std::wstring& name, const Group& value);
// Test support: every session variable back to its default.
void resetSessionVariables();
} // namespace host
