#pragma once
// The plug-in's LISP functions: the LISP table, ended by a row whose name is null (the row number is the
// function code the host hands back), their definition in each drawing and the dispatch of a call.
#include "host/rx/adesk.h"

struct LispFuncEntry {
    const ACHAR* name;
    int (*handler)();
    const ACHAR* help;
};

constexpr int kLispFunctionCount = 21;
extern const LispFuncEntry g_LispFuncTable[kLispFunctionCount + 1];

// Define / undefine every function of the table in the current drawing, in order; the first refusal stops
// the loop. RTNORM, or RTERROR after a refusal.
int defunLispFunctions();
int undefLispFunctions();
// Calls the function of the code the host gives, with the arguments the host gives; exceptions end the call
// silently (the function answers nil). Answers 1.
int invokeLispFunction();
