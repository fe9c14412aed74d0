#pragma once
// The plug-in's answers to the host's application messages (the entry point dispatches them).

// Initialisation: unlocks the module and makes it aware of several drawings, sets the print hooks, registers
// the classes, commands and demand-load entries, flags the plug-in as loaded in the library's variable
// block, registers the service "ZortaPoly" and the editor reactor.
void initApplication(void* appId);
// Unload: takes back all of that, in reverse order, and unloads the plug-in's menu group.
void unloadApplication();
// A drawing was loaded: the application name "ZORTA" for extended data, the drawing's TEF colours, the LISP
// functions defined.
void loadDrawing();
// A drawing is unloaded: the LISP functions undefined.
void unloadDrawing();
