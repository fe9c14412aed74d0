#pragma once
// What the plug-in's LISP functions read their arguments from: the state of one call, set up by the LISP
// dispatch before it calls the function and cleared after. Process-wide, host command thread only.
#include <cstdint>

#include "host/db/resbuf.h"

struct LispCallState {
    resbuf* args = nullptr;              // the next argument; the host owns the chain
    const char* progressTitle = nullptr; // a title shows a progress meter while a selection set is read
    int counter = -10;                   // members of a selection set left to read
    bool expanding = false;              // a selection set argument is being read member by member
    bool meterShown = false;
    std::int64_t selection[2] = {0, 0}; // the set being read
    int selectionLength = 0;
    std::int64_t lastName[2] = {0, 0}; // the entity name last read
};

extern LispCallState g_lispCall;

// A fresh state over the arguments of the call being answered.
void startLispCall(resbuf* args);
// Takes away a progress meter that a call left shown, and forgets its arguments.
void endLispCall();

// The type code of the next argument, `value` pointed at its value (null with RTNIL when none is left). The
// items of a list argument come one by one (brackets and dots skipped); a selection set gives its members
// as entity names, last to first, with the status-bar meter every 10 members when a progress title is set;
// the entity name (0, all ones) is read as the null name; texts come narrowed to 8 bits.
int lisp_nextarg(const void*& value);
