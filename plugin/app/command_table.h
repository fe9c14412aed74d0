#pragma once
// The plug-in's commands: the command table, ended by a row with an empty name, and their registration in
// the host's command stack under the group "ZORTAPOLY_CMD".
#include <cstdint>

#include "host/rx/adesk.h"

struct CmdEntry {
    ACHAR name[40];
    int (*handler)();
    std::int32_t flags; // 1 transparent, 2 uses the pick-first selection, 4 redraw
    ACHAR description[82];
};

constexpr int kCommandCount = 19;
extern const CmdEntry g_CmdTable[kCommandCount + 1];
constexpr const ACHAR* kCommandGroup = L"ZORTAPOLY_CMD";

// Adds every command of the table to the command stack (results not checked) / removes them and the group.
void registerCommands();
void unregisterCommands();
