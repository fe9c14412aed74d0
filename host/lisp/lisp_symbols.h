#pragma once
// LISP symbols and their values. Names are case-insensitive. PI and PAUSE are bound from the start.
#include <string>

#include "host/db/db_object_id.h"
#include "host/lisp/lisp_value.h"

// The symbol's value as a chain the caller frees (an unbound symbol gives RTNIL); RTNORM.
int acedGetSym(const ACHAR* name, resbuf** value);
// Binds the symbol to the value the chain stands for (null: nil).
int acedPutSym(const ACHAR* name, resbuf* value);

namespace host {

struct ModuleFunction;

// A symbol's place. It stays where it is for the life of the process (a reset unbinds it), so that a
// symbol read once finds its value again without looking its name up.
struct LispSymbolSlot {
    LispValue value;
    bool bound = false;
    const void* callable = nullptr; // what the evaluator found the name calls (lisp_eval.cpp)
    bool callableLooked = false;
    const ModuleFunction* moduleFunction = nullptr; // what a module defines under the name (lisp_functions.h)
    unsigned moduleFunctionVersion = 0;             // the lispFunctionsVersion() it was found at
};
LispSymbolSlot& lispSymbolSlot(const std::wstring& upperName);
// The slot of a symbol value, remembered in the value.
LispSymbolSlot& slotOf(const LispValue& symbol);
void bindSlot(LispSymbolSlot& slot, LispValue value);

LispValue lispSymbol(const std::wstring& name);
// The value bound to a name already in upper case (as the reader gives symbols); null when unbound. Valid
// until the symbol is next set.
const LispValue* findLispSymbol(const std::wstring& upperName);
void setLispSymbol(const std::wstring& name, LispValue value);
// The entity a symbol's entity name designates; false when it holds none.
bool lispSymbolEntity(const std::wstring& name, AcDbObjectId& id);
void resetLispSymbols();

} // namespace host
