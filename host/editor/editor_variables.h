#pragma once
// The system variables the editor keeps up to date while it runs (CMDACTIVE, CMDNAMES, LASTPOINT, the
// user coordinate system's UCSORG, UCSXDIR and UCSYDIR), and short ways for the host to read its own.
#include <string>

#include "host/ge/ge.h"

namespace host {

// CMDACTIVE (1 a command, 2 a nested one, 4 a script) and CMDNAMES (the running commands, joined by "'").
void setCommandState(int active, const std::wstring& names);
void setLastPoint(const AcGePoint3d& point);
// The current user coordinate system, from its transform to world coordinates.
void setUcsVariables(const AcGeMatrix3d& ucsToWorld);
// A short or real variable's value; 0 when it is unknown or of another kind.
int shortVariable(const wchar_t* name);
double realVariable(const wchar_t* name);
// Whether a point (user coordinates) lies in the view: the screen's proportions (SCREENSIZE) around VIEWCTR,
// VIEWSIZE high.
bool insideView(const AcGePoint3d& ucsPoint);

} // namespace host
