#include "plugin/editor/cursor_position.h"

#include "geometry/points/angle_units.h"
#include "host/lisp/lisp_functions.h"

namespace {

resbuf* newValue(int type, resbuf* after) {
    resbuf* rb = acutNewRb(type);
    if (after) after->rbnext = rb;
    return rb;
}

} // namespace

void setCursorPos(const CPoint3d& point) {
    resbuf* head = newValue(RTSTR, nullptr);
    head->resval.rstring = acutNewString(L"ZOR_SetCursorPos");
    resbuf* value;
    if (point.x == _RVIDE) {
        value = newValue(RTREAL, head);
        value->resval.rreal = point.z;
    } else {
        value = newValue(RT3DPOINT, head);
        value->resval.rpoint[0] = point.x;
        value->resval.rpoint[1] = point.y;
        value->resval.rpoint[2] = point.z;
    }
    newValue(RTSHORT, value)->resval.rint = 1;
    resbuf* result = nullptr;
    // The function may be missing: its failure changes nothing here.
    acedInvoke(head, &result);
    if (result) acutRelRb(result);
    acutRelRb(head);
}
