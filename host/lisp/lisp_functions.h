#pragma once
// LISP functions that modules define (acedDefun): each has a name and the code the module chose. Calling
// one sends its module the message kInvkSubrMsg; while it runs, acedGetFunCode and acedGetArgs
// tell it which function and with what arguments, and the acedRet functions set its value (nil when none
// is set). A name "C:NAME" is also a command of the command line.
#include <functional>
#include <string>
#include <vector>

#include "host/db/resbuf.h"
#include "host/lisp/lisp_value.h"

namespace host {
struct Module;
struct ModuleFunction;
} // namespace host

// RTERROR outside a module's message, for an empty name, or a name another module defined.
int acedDefun(const ACHAR* name, int funcode);
int acedUndef(const ACHAR* name, int funcode);
int acedGetFunCode();
// The arguments of the call being answered; the host owns the chain.
resbuf* acedGetArgs();
int acedRetList(const resbuf* list);
int acedRetVal(const resbuf* value);
int acedRetName(const ads_name name, int type);
int acedRetInt(int value);
int acedRetReal(ads_real value);
int acedRetPoint(const ads_point point);
int acedRetStr(const ACHAR* text);
int acedRetNil();
int acedRetT();
int acedRetVoid();
// Calls a defined function: the chain is its name (RTSTR) and its arguments. The value comes back as a chain
// the caller frees. RTERROR when no function of that name is defined or it failed.
int acedInvoke(const resbuf* args, resbuf** result);
// Help for a function or a command: its help file and topic.
int acedSetFunHelp(const ACHAR* name, const ACHAR* helpFile, const ACHAR* topic, int command);

namespace host {

bool isLispFunctionDefined(const std::wstring& name);
// The function a module defined under a name already in upper case, or null; valid while
// lispFunctionsVersion() is unchanged (it changes whenever a function is defined or undefined, or a module
// unloaded), so that a caller may keep what it found.
const ModuleFunction* findLispFunction(const std::wstring& upperName);
unsigned lispFunctionsVersion();
// Calls a function found so, named `upperName` in its errors.
LispValue callLispFunction(const ModuleFunction& function, const std::wstring& upperName,
                           const std::vector<LispValue>& args);
// Calls a defined function with evaluated arguments. Throws LispError when it is not defined or fails.
LispValue callLispFunction(const std::wstring& name, const std::vector<LispValue>& args);
// Runs `answer` as the answer to a call of function code `code` with the arguments `args` (left to the
// caller), the way a module answers kInvkSubrMsg, and returns the value it set: for programs and tests that
// answer calls in-process.
LispValue answerCall(int code, resbuf* args, const std::function<void()>& answer);
// "file|topic" as given with acedSetFunHelp ("" when none).
std::wstring functionHelp(const std::wstring& name);
std::vector<std::wstring> definedFunctions();
// Forgets what the module defined.
void undefineFunctionsOf(const Module* module);
void resetLispFunctions();

} // namespace host
