#pragma once
// System variables (acedGetVar / acedSetVar). Those the drawing keeps (CLAYER, ELEVATION, LTSCALE,
// TILEMODE, ...) are the working database's header variables; the editor's own (OSMODE, CMDACTIVE,
// CMDNAMES, SHORTCUTMENU, VIEWSIZE, SCREENSIZE, CVPORT, APERTURE, MENUBAR, UCSXDIR, LASTPOINT, ...) live in
// the host. Names are case-insensitive. Reading fills `result` (a text value is a host buffer the caller
// frees); an unknown name or a value of the wrong kind answers RTERROR.
#include <string>

#include "host/ge.h"
#include "host/resbuf.h"

int acedGetVar(const ACHAR* name, resbuf* result);
int acedSetVar(const ACHAR* name, const resbuf* value);

namespace host {

// Sets an editor variable, read-only ones included (what a zoom or a command does to them).
bool setHostVariable(const wchar_t* name, const resbuf& value);
// The editor keeps these up to date while commands run.
void setCommandState(int active, const std::wstring& names);
void setLastPoint(const AcGePoint3d& point);
// Short and real values for the host's own use (0 when unknown).
int shortVariable(const wchar_t* name);
double realVariable(const wchar_t* name);
// Test support: every editor variable back to its default.
void resetSystemVariables();

} // namespace host
