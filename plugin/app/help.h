#pragma once
// Help: the listing of the plug-in's commands and LISP functions, and the context help of a command in the
// help file "DLL\ZORTA.chm" of the install folder.
#include "host/rx/adesk.h"

// Installs the menu when it still has to be, then lists every command (name, flags, description) and every
// LISP function (name, help text). Answers 1.
int c_help();
// Registers `topic` of `page` ("page.htm#topic"; the topic alone without a page) as the help of the command
// (an empty name: the command running now). The host's answer.
int setCmdHelp(const ACHAR* command, const ACHAR* topic, const ACHAR* page);
