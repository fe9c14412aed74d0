// A module for the LISP tests: it defines functions when a drawing is loaded and answers their calls
// through its entry point. ECHO gives back its arguments, TYPES the result types ECHO last received,
// C:HELLO prints, FAIL fails.
#include <vector>

#include "host/editor/acut.h"
#include "host/lisp/lisp_functions.h"
#include "host/rx/dynamic_linker.h"
#include "host/rx/rx_app.h"
#include "host/rx/target_host.h"

namespace {

enum Function { kEcho, kTypes, kHello, kFail };
const struct {
    const ACHAR* name;
    Function code;
} functions[] = {{L"ECHO", kEcho}, {L"TYPES", kTypes}, {L"C:HELLO", kHello}, {L"FAIL", kFail}};

std::vector<short> typesSeen;

void echo() {
    typesSeen.clear();
    for (const resbuf* rb = acedGetArgs(); rb; rb = rb->rbnext)
        typesSeen.push_back(rb->restype);
    acedRetList(acedGetArgs());
}

void types() {
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (short t : typesSeen) {
        *tail = acutNewRb(RTSHORT);
        (*tail)->resval.rint = t;
        tail = &(*tail)->rbnext;
    }
    acedRetList(head);
    acutRelRb(head);
}

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
        break;
    case AcRx::kInvkSubrMsg:
        switch (acedGetFunCode()) {
        case kEcho:
            echo();
            break;
        case kTypes:
            types();
            break;
        case kHello:
            acutPrintf(L"\nHello");
            acedRetVoid();
            break;
        default:
            return AcRx::kRetError;
        }
        return AcRx::AppRetCode(RSRSLT);
    default:
        break;
    }
    return AcRx::kRetOK;
}
