#pragma once
// Menu groups: loaded from menu files ("***MENUGROUP=NAME" names the group of a menu source file; otherwise
// the file's name does), unloaded by name. Menu commands ("P50=+GROUP.POP1") are kept in a log; the host
// shows no menus.
#include <string>
#include <vector>

#include "host/rx/adesk.h"

int acedMenuCmd(const ACHAR* command);
bool acedIsMenuGroupLoaded(const ACHAR* groupName);

namespace host {

// False with a message when the file cannot be read.
bool loadMenuFile(const std::wstring& path, std::wstring& group, std::wstring& error);
bool unloadMenuGroup(const std::wstring& group);
const std::vector<std::wstring>& menuCommandLog();
void resetMenus();

} // namespace host
