#pragma once
// What the plug-in adds to the host when it loads, and takes back when it unloads.

// The entity classes (PolyArc3D always; tavro_poly when the setting "TAVROPOLY" of file "ZORTA", section
// "TAVRO", is a number other than 0), the largest chord deviation of the library when it has none, the
// double-click extension of PolyArc3D and the commands.
void registerClassesAndCommands();
// The demand-load entry "ZORTAPOLYApp" with the command group and its commands; then the start-up flags
// (g_InitFlags) from the machine registry value "INITZORTAPOLY" under the host's product key, which is
// deleted once read.
void registerDemandLoad();
// Removes the commands and their group, the double-click extension, then the classes registered.
void unloadRegistrations();
