// Points and angles: POLAR, DISTANCE, ANGLE, INTERS, TRANS between the coordinate systems, OSNAP. Angles are
// radians, counter-clockwise from the X axis; a 2-D point gives a 2-D answer where AutoLISP gives one.
#include <cmath>

#include "host/editor/ucs.h"
#include "host/lisp/lisp_builtins.h"
#include "host/selection/osnap.h"

namespace host {

namespace {

using Args = LispArgs;

bool twoD(const LispValue& point) {
    return point.items.size() == 2;
}

LispValue polar(const LispValue& from, double angle, double distance) {
    AcGePoint3d p = pointArgument(from);
    p.x += distance * std::cos(angle);
    p.y += distance * std::sin(angle);
    return pointValue(p, twoD(from));
}

LispValue distance(const LispValue& from, const LispValue& to) {
    AcGePoint3d p = pointArgument(from), q = pointArgument(to);
    double dz = twoD(from) || twoD(to) ? 0.0 : q.z - p.z;
    return LispValue::fromReal(std::sqrt((q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y) + dz * dz));
}

LispValue angle(AcGePoint3d p, AcGePoint3d q) {
    double r = std::atan2(q.y - p.y, q.x - p.x);
    return LispValue::fromReal(r < 0 ? r + 2 * M_PI : r);
}

// (INTERS p1 p2 p3 p4 [onseg]): where the lines p1-p2 and p3-p4 cross in plan (z along the first line), nil
// for parallel lines or, unless onseg is nil, a crossing outside either segment.
LispValue inters(const Args& a) {
    AcGePoint3d p1 = pointArgument(a[0]), p2 = pointArgument(a[1]), p3 = pointArgument(a[2]),
                p4 = pointArgument(a[3]);
    bool onSegments = a.size() < 5 || !a[4].isNil();
    double d1x = p2.x - p1.x, d1y = p2.y - p1.y, d2x = p4.x - p3.x, d2y = p4.y - p3.y;
    double det = d1x * d2y - d1y * d2x;
    double scale = std::hypot(d1x, d1y) * std::hypot(d2x, d2y);
    if (scale == 0 || std::fabs(det) <= 1e-12 * scale) return LispValue::nil();
    double t = ((p3.x - p1.x) * d2y - (p3.y - p1.y) * d2x) / det;
    double u = ((p3.x - p1.x) * d1y - (p3.y - p1.y) * d1x) / det;
    constexpr double kFuzz = 1e-10;
    if (onSegments && (t < -kFuzz || t > 1 + kFuzz || u < -kFuzz || u > 1 + kFuzz)) return LispValue::nil();
    AcGePoint3d r(p1.x + t * d1x, p1.y + t * d1y, p1.z + t * (p2.z - p1.z));
    return pointValue(r, twoD(a[0]) || twoD(a[1]) || twoD(a[2]) || twoD(a[3]));
}

// A coordinate system of TRANS: 0 world, 1 user, 2 display, 3 paper space, a point (an extrusion
// direction), or an entity name (its own system).
resbuf systemOf(const LispValue& v) {
    resbuf rb{};
    if (v.kind == LispValue::Integer) {
        rb.restype = RTSHORT;
        rb.resval.rint = static_cast<short>(v.integer);
    } else if (v.kind == LispValue::EntityName) {
        rb.restype = RTENAME;
        rb.resval.rlname[0] = v.name[0];
        rb.resval.rlname[1] = v.name[1];
    } else {
        AcGePoint3d p = pointArgument(v);
        rb.restype = RT3DPOINT;
        rb.resval.rpoint[0] = p.x;
        rb.resval.rpoint[1] = p.y;
        rb.resval.rpoint[2] = p.z;
    }
    return rb;
}

// (TRANS point from to [displacement]).
LispValue trans(AcGePoint3d p, const LispValue& fromSystem, const LispValue& toSystem,
                std::optional<bool> displacement) {
    resbuf from = systemOf(fromSystem), to = systemOf(toSystem);
    ads_point in = {p.x, p.y, p.z}, out;
    if (acedTrans(in, &from, &to, displacement.value_or(false) ? 1 : 0, out) != RTNORM)
        return LispValue::nil();
    return pointValue(AcGePoint3d(out[0], out[1], out[2]), false);
}

LispValue osnap(AcGePoint3d p, const std::wstring& modes) {
    ads_point in = {p.x, p.y, p.z}, out;
    if (acedOsnap(in, modes.c_str(), out) != RTNORM) return LispValue::nil();
    return pointValue(AcGePoint3d(out[0], out[1], out[2]));
}

} // namespace

const LispBuiltinTable& geometryBuiltins() {
    static const LispBuiltinTable table = {
        {L"POLAR", lispFunction(polar)}, {L"DISTANCE", lispFunction(distance)},
        {L"ANGLE", lispFunction(angle)}, {L"INTERS", lispFunction(4, 5, inters)},
        {L"TRANS", lispFunction(trans)}, {L"OSNAP", lispFunction(osnap)},
    };
    return table;
}

} // namespace host
