#pragma once
// The plug-in's menu group "ZORTAPOLY" and the flags that say whether it still has to be installed.
#include <cstdint>

#include "host/rx/adesk.h"

constexpr const ACHAR* kMenuGroup = L"ZORTAPOLY";

// Start-up flags, read from the registry value "INITZORTAPOLY" when the plug-in loads (0 without it).
constexpr std::uint32_t kMenuToInstall = 0x1;        // the menu still has to be installed
constexpr std::uint32_t kInstallCommandSent = 0x100; // "ZORTAPOLY " was sent since the plug-in loaded
extern std::uint32_t g_InitFlags;

// Loads the menu group afresh: "DLL\ZORTAPOLY.MNS" of the install folder, else "DLL\ZORTAPOLY.CUI", else
// the first of the two names found on the host's support path; puts its pull-down menu in the menu bar and
// clears kMenuToInstall when the group is loaded. Says so when no menu file is found.
void loadMenu();
// Unloads the menu group when it is loaded: its items run commands that leave with the plug-in.
void unloadMenu();
