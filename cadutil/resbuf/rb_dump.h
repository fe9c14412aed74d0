#pragma once
// Debugging dumps of result-buffer nodes, one line each through the print hook.
#include "host/db/resbuf.h"

// Prints the node's code and value by the value type of its code; answers 1.
int rbDump(const resbuf* node);
