// A module for the LISP tests: it defines functions when a drawing is loaded and answers their calls
// through its entry point. ECHO gives back its arguments, TYPES the result types ECHO last received,
// C:HELLO prints, FAIL fails.
#include <vector>

#include "host/editor/acut.h"
#include "host/lisp/lisp_functions.h"
#include "host/rx/target_host.h"
#include "tests/support/test_module_entry.h"

namespace {

enum Function { kEcho, kTypes, kHello, kFail };
const testing_support::LispFunction functions[] = {
    {L"ECHO", kEcho}, {L"TYPES", kTypes}, {L"C:HELLO", kHello}, {L"FAIL", kFail}};

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

bool call(int code) {
    switch (code) {
    case kEcho:
        echo();
        return true;
    case kTypes:
        types();
        return true;
    case kHello:
        acutPrintf(L"\nHello");
        acedRetVoid();
        return true;
    default:
        return false;
    }
}

} // namespace

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* appId) {
    return testing_support::answerLispModule(message, appId, functions, call);
}
