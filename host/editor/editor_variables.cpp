#include "host/editor/editor_variables.h"

#include <cmath>

#include "host/db/system_variables.h"
#include "host/filing/group.h"

namespace host {

void setCommandState(int active, const std::wstring& names) {
    setSessionVariable(L"CMDACTIVE", {70, Adesk::Int16(active)});
    setSessionVariable(L"CMDNAMES", {1, names});
}

void setLastPoint(const AcGePoint3d& point) {
    setSessionVariable(L"LASTPOINT", {10, point});
}

void setUcsVariables(const AcGeMatrix3d& m) {
    setSessionVariable(L"UCSORG", {10, AcGePoint3d(m(0, 3), m(1, 3), m(2, 3))});
    setSessionVariable(L"UCSXDIR", {10, AcGePoint3d(m(0, 0), m(1, 0), m(2, 0))});
    setSessionVariable(L"UCSYDIR", {10, AcGePoint3d(m(0, 1), m(1, 1), m(2, 1))});
}

int shortVariable(const wchar_t* name) {
    resbuf rb{};
    if (acedGetVar(name, &rb) != RTNORM) return 0;
    if (rb.restype == RTSTR) acutDelString(rb.resval.rstring);
    return rb.restype == RTSHORT ? rb.resval.rint : 0;
}

double realVariable(const wchar_t* name) {
    resbuf rb{};
    if (acedGetVar(name, &rb) != RTNORM) return 0.0;
    if (rb.restype == RTSTR) acutDelString(rb.resval.rstring);
    return rb.restype == RTREAL ? rb.resval.rreal : rb.restype == RTSHORT ? rb.resval.rint : 0.0;
}

bool insideView(const AcGePoint3d& ucsPoint) {
    resbuf centre{}, screen{};
    if (acedGetVar(L"VIEWCTR", &centre) != RTNORM || acedGetVar(L"SCREENSIZE", &screen) != RTNORM)
        return true;
    const double height = realVariable(L"VIEWSIZE");
    const double pixelsHigh = screen.resval.rpoint[1];
    if (height <= 0 || pixelsHigh <= 0) return true;
    const double width = height * screen.resval.rpoint[0] / pixelsHigh;
    return std::fabs(ucsPoint.x - centre.resval.rpoint[0]) <= width / 2 &&
           std::fabs(ucsPoint.y - centre.resval.rpoint[1]) <= height / 2;
}

} // namespace host
