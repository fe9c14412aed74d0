// A module standing for the other application that defines ZOR_SetCursorPos: it keeps the arguments of the
// last call, which CURSORCALL gives back.
#include "host/lisp/lisp_functions.h"
#include "host/rx/target_host.h"
#include "tests/support/test_module_entry.h"

namespace {

enum Function { kSetCursorPos, kLastCall };
const testing_support::LispFunction functions[] = {{L"ZOR_SetCursorPos", kSetCursorPos},
                                                   {L"CURSORCALL", kLastCall}};

resbuf* lastArguments = nullptr;

void forgetLastCall() {
    acutRelRb(lastArguments);
    lastArguments = nullptr;
}

bool call(int code) {
    if (code == kSetCursorPos) {
        acutRelRb(lastArguments);
        lastArguments = host::copyResbufChain(acedGetArgs());
        acedRetT();
    } else {
        acedRetList(lastArguments);
    }
    return true;
}

} // namespace

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* appId) {
    if (message == AcRx::kUnloadDwgMsg || message == AcRx::kUnloadAppMsg) forgetLastCall();
    return testing_support::answerLispModule(message, appId, functions, call);
}
