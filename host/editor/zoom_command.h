#pragma once
// ZOOM by its centre: the view's centre point and height (VIEWCTR, VIEWSIZE). It is transparent: a line
// "'ZOOM" at any prompt runs it, and the prompt then asks again.
#include <string>

namespace host {

void zoomCommand();
// Whether the command (upper case, without its prefixes) may run inside another command's prompt.
bool isTransparentCommand(const std::wstring& name);

} // namespace host
