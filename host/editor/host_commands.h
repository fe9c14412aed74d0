#pragma once
// The host's own commands that modules and scripts run: UNDO (a number of groups, BEgin, End), U, MENULOAD,
// MENUUNLOAD, EXTEND, SELECT, ZOOM, the editing commands of host/editor/edit_commands.h, the drawing commands
// of host/editor/draw_commands.h and the inquiry commands of host/editor/inquiry_commands.h.
#include <string>
#include <vector>

namespace host {

using HostCommandFunction = void (*)();
// The command of that name (upper case), or null.
HostCommandFunction findHostCommand(const std::wstring& name);
// Their names, sorted.
std::vector<std::wstring> hostCommandNames();

} // namespace host
