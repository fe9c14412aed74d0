#include "cadutil/resbuf/rb_values.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/editor/status_bar.h"
#include "host/selection/selection_sets.h"
#include "plugin/lisp/lisp_arguments.h"

LispCallState g_lispCall;

void startLispCall(resbuf* args) {
    g_lispCall = LispCallState{};
    g_lispCall.args = args;
}

void endLispCall() {
    if (g_lispCall.meterShown) acedRestoreStatusBar();
    g_lispCall = LispCallState{};
}

namespace {

void startExpansion(LispCallState& call, const ads_name set) {
    Adesk::Int32 length = 0;
    if (acedSSLength(set, &length) != RTNORM) length = 0;
    call.expanding = true;
    call.selection[0] = set[0];
    call.selection[1] = set[1];
    call.selectionLength = length;
    call.counter = length;
    if (call.progressTitle) {
        acedSetStatusBarProgressMeter(codePageToWide(call.progressTitle).c_str(), 0, length);
        call.meterShown = true;
    }
}

void endExpansion(LispCallState& call) {
    call.expanding = false;
    call.counter = -10;
    call.args = call.args->rbnext;
    if (call.meterShown) acedRestoreStatusBar();
    call.meterShown = false;
}

// The next member of the set being read, into lastName; false once the set is exhausted.
bool nextMember(LispCallState& call) {
    while (--call.counter >= 0) {
        if (call.meterShown && call.counter % 10 == 0)
            acedSetStatusBarProgressMeterPos(call.selectionLength - call.counter);
        if (acedSSName(call.selection, call.counter, call.lastName) == RTNORM) return true;
    }
    return false;
}

} // namespace

int lisp_nextarg(const void*& value) {
    LispCallState& call = g_lispCall;
    for (;;) {
        if (call.expanding) {
            if (nextMember(call)) {
                value = call.lastName;
                return RTENAME;
            }
            endExpansion(call);
            continue;
        }
        resbuf* arg = call.args;
        if (!arg) {
            value = nullptr;
            return RTNIL;
        }
        switch (arg->restype) {
        case RTPICKS:
            startExpansion(call, arg->resval.rlname);
            continue;
        case RTLB:
        case RTLE:
        case RTDOTE:
            call.args = arg->rbnext;
            continue;
        case RTENAME:
            if (arg->resval.rlname[0] == 0 && arg->resval.rlname[1] == -1) {
                call.lastName[0] = call.lastName[1] = 0;
                call.args = arg->rbnext;
                value = call.lastName;
                return RTENAME;
            }
            break;
        default:
            break;
        }
        call.args = arg->rbnext;
        value = uval_rbval(arg->restype, &arg->resval);
        return arg->restype;
    }
}
