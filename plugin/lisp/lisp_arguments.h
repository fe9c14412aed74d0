#pragma once
// What the plug-in's LISP functions read their arguments from: the state of one call, set up by the LISP
// dispatch before it calls the function and cleared after. Process-wide, host command thread only.
#include <cstdint>

#include "host/db/resbuf.h"

struct LispCallState {
    resbuf* args = nullptr;              // the next argument; the host owns the chain
    const char* progressTitle = nullptr; // a title shows a progress meter while a selection set is read
    int counter = -10;                   // members of a selection set left to read
    std::int64_t lastName[2] = {0, 0};   // the entity name last read
};

extern LispCallState g_lispCall;

// A fresh state over the arguments of the call being answered.
void startLispCall(resbuf* args);
