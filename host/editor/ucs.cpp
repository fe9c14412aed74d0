#include "host/editor/ucs.h"

#include <cmath>

#include "host/editor/editor_variables.h"

namespace {

AcGeMatrix3d& currentUcs() {
    static AcGeMatrix3d ucs;
    return ucs;
}

// The transform from the system that `rb` names to world coordinates; false for what cannot name one.
bool toWorld(const resbuf* rb, AcGeMatrix3d& m) {
    if (!rb) return false;
    if (rb->restype == RTSHORT || rb->restype == RTLONG) {
        int code = rb->restype == RTSHORT ? rb->resval.rint : rb->resval.rlong;
        if (code == 0) {
            m = AcGeMatrix3d();
            return true;
        }
        if (code >= 1 && code <= 3) {
            m = currentUcs();
            return true;
        }
        return false;
    }
    if (rb->restype == RT3DPOINT || rb->restype == RTPOINT) {
        AcGeVector3d normal(rb->resval.rpoint[0], rb->resval.rpoint[1],
                            rb->restype == RT3DPOINT ? rb->resval.rpoint[2] : 0.0);
        if (normal.isZeroLength()) return false;
        m = AcGeMatrix3d::planeToWorld(normal.normal());
        return true;
    }
    return false;
}

} // namespace

bool acedGetCurrentUCS(AcGeMatrix3d& mat) {
    mat = currentUcs();
    return true;
}

bool acedSetCurrentUCS(const AcGeMatrix3d& mat) {
    AcGeVector3d axes[3];
    for (int c = 0; c < 3; ++c)
        axes[c] = AcGeVector3d(mat(0, c), mat(1, c), mat(2, c));
    for (int i = 0; i < 3; ++i) {
        if (std::abs(axes[i].length() - 1.0) > 1e-9) return false;
        for (int j = i + 1; j < 3; ++j)
            if (std::abs(axes[i].dotProduct(axes[j])) > 1e-9) return false;
    }
    if (mat(3, 0) != 0 || mat(3, 1) != 0 || mat(3, 2) != 0 || mat(3, 3) != 1) return false;
    currentUcs() = mat;
    host::setUcsVariables(mat);
    return true;
}

int acedTrans(const ads_point pt, const resbuf* from, const resbuf* to, int disp, ads_point result) {
    AcGeMatrix3d fromWorld, toWorldM;
    if (!pt || !result || !toWorld(from, fromWorld) || !toWorld(to, toWorldM)) return RTERROR;
    AcGeMatrix3d m = toWorldM.inverse() * fromWorld;
    if (disp) m(0, 3) = m(1, 3) = m(2, 3) = 0.0;
    AcGePoint3d p(pt[0], pt[1], pt[2]);
    p.transformBy(m);
    result[0] = p.x;
    result[1] = p.y;
    result[2] = p.z;
    return RTNORM;
}

namespace host {

void resetUcs() {
    currentUcs() = AcGeMatrix3d();
    setUcsVariables(currentUcs());
}

AcGePoint3d ucsToWorld(const AcGePoint3d& point) {
    AcGePoint3d p = point;
    return p.transformBy(currentUcs());
}

AcGePoint3d worldToUcs(const AcGePoint3d& point) {
    AcGePoint3d p = point;
    return p.transformBy(currentUcs().inverse());
}

} // namespace host
