// A module standing for the other application that defines ZOR_SetCursorPos: it keeps the arguments of the
// last call, which CURSORCALL gives back.
#include "host/lisp/lisp_functions.h"
#include "host/rx/dynamic_linker.h"
#include "host/rx/rx_app.h"
#include "host/rx/target_host.h"

namespace {

enum Function { kSetCursorPos, kLastCall };
const struct {
    const ACHAR* name;
    Function code;
} functions[] = {{L"ZOR_SetCursorPos", kSetCursorPos}, {L"CURSORCALL", kLastCall}};

resbuf* lastArguments = nullptr;

} // namespace

extern "C" int acrxGetApiVersion() {
    return host::target::kFacts.apiVersion;
}

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* appId) {
    switch (message) {
    case AcRx::kInitAppMsg:
        acrxUnlockApplication(appId);
        acrxDynamicLinker->registerAppMDIAware(appId);
        break;
    case AcRx::kLoadDwgMsg:
        for (const auto& f : functions)
            acedDefun(f.name, f.code);
        break;
    case AcRx::kUnloadDwgMsg:
        for (const auto& f : functions)
            acedUndef(f.name, f.code);
        acutRelRb(lastArguments);
        lastArguments = nullptr;
        break;
    case AcRx::kUnloadAppMsg:
        acutRelRb(lastArguments);
        lastArguments = nullptr;
        break;
    case AcRx::kInvkSubrMsg:
        if (acedGetFunCode() == kSetCursorPos) {
            acutRelRb(lastArguments);
            lastArguments = host::copyResbufChain(acedGetArgs());
            acedRetT();
        } else {
            acedRetList(lastArguments);
        }
        return AcRx::AppRetCode(RSRSLT);
    default:
        break;
    }
    return AcRx::kRetOK;
}
