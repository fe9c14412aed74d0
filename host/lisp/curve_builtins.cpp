#include "host/lisp/curve_builtins.h"

#include <optional>

#include "host/db/db_object.h"
#include "host/entities/curve.h"
#include "host/filing/text_codec.h"
#include "host/lisp/lisp_text.h"

namespace host {

namespace {

using Args = std::vector<LispValue>;

// Opens the curve the first argument names for read, runs the query and closes it; nil when the name is not
// a curve of the drawing.
template <class Query>
LispValue withCurve(const Args& args, std::size_t least, std::size_t most, Query query) {
    checkArity(args, least, most);
    if (args[0].kind != LispValue::EntityName)
        throw LispError("type d'argument incorrect: lentityp " + toUtf8(printLisp(args[0])));
    AcDbObjectId id;
    AcDbCurve* curve = nullptr;
    if (acdbGetObjectId(id, args[0].name) != Acad::eOk ||
        acdbOpenObject(curve, id, AcDb::kForRead) != Acad::eOk)
        return LispValue::nil();
    std::optional<LispValue> answer;
    try {
        answer = query(*curve);
    } catch (...) {
        curve->close();
        throw;
    }
    curve->close();
    return answer ? *answer : LispValue::nil();
}

template <class Value, class Call> std::optional<LispValue> status(Call call, LispValue (*make)(Value)) {
    Value value{};
    if (call(value) != Acad::eOk) return std::nullopt;
    return make(value);
}

LispValue real(double v) {
    return LispValue::fromReal(v);
}
LispValue pointOf(AcGePoint3d p) {
    return pointValue(p);
}
LispValue vectorValue(AcGeVector3d v) {
    return pointValue(AcGePoint3d(v.x, v.y, v.z));
}

} // namespace

const std::map<std::wstring, LispBuiltin>& curveBuiltins() {
    using Curve = const AcDbCurve&;
    static const std::map<std::wstring, LispBuiltin> table = {
        {L"VLAX-CURVE-GETSTARTPARAM",
         [](const Args& a) {
             return withCurve(a, 1, 1, [](Curve c) {
                 return status<double>([&](double& v) { return c.getStartParam(v); }, real);
             });
         }},
        {L"VLAX-CURVE-GETENDPARAM",
         [](const Args& a) {
             return withCurve(a, 1, 1, [](Curve c) {
                 return status<double>([&](double& v) { return c.getEndParam(v); }, real);
             });
         }},
        {L"VLAX-CURVE-GETSTARTPOINT",
         [](const Args& a) {
             return withCurve(a, 1, 1, [](Curve c) {
                 return status<AcGePoint3d>([&](AcGePoint3d& v) { return c.getStartPoint(v); }, pointOf);
             });
         }},
        {L"VLAX-CURVE-GETENDPOINT",
         [](const Args& a) {
             return withCurve(a, 1, 1, [](Curve c) {
                 return status<AcGePoint3d>([&](AcGePoint3d& v) { return c.getEndPoint(v); }, pointOf);
             });
         }},
        {L"VLAX-CURVE-GETPOINTATPARAM",
         [](const Args& a) {
             return withCurve(a, 2, 2, [&](Curve c) {
                 return status<AcGePoint3d>(
                     [&](AcGePoint3d& v) { return c.getPointAtParam(realArgument(a[1]), v); }, pointOf);
             });
         }},
        {L"VLAX-CURVE-GETPARAMATPOINT",
         [](const Args& a) {
             return withCurve(a, 2, 2, [&](Curve c) {
                 return status<double>([&](double& v) { return c.getParamAtPoint(pointArgument(a[1]), v); },
                                       real);
             });
         }},
        {L"VLAX-CURVE-GETDISTATPARAM",
         [](const Args& a) {
             return withCurve(a, 2, 2, [&](Curve c) {
                 return status<double>([&](double& v) { return c.getDistAtParam(realArgument(a[1]), v); },
                                       real);
             });
         }},
        {L"VLAX-CURVE-GETPARAMATDIST",
         [](const Args& a) {
             return withCurve(a, 2, 2, [&](Curve c) {
                 return status<double>([&](double& v) { return c.getParamAtDist(realArgument(a[1]), v); },
                                       real);
             });
         }},
        {L"VLAX-CURVE-GETDISTATPOINT",
         [](const Args& a) {
             return withCurve(a, 2, 2, [&](Curve c) {
                 return status<double>([&](double& v) { return c.getDistAtPoint(pointArgument(a[1]), v); },
                                       real);
             });
         }},
        {L"VLAX-CURVE-GETPOINTATDIST",
         [](const Args& a) {
             return withCurve(a, 2, 2, [&](Curve c) {
                 return status<AcGePoint3d>(
                     [&](AcGePoint3d& v) { return c.getPointAtDist(realArgument(a[1]), v); }, pointOf);
             });
         }},
        {L"VLAX-CURVE-GETFIRSTDERIV",
         [](const Args& a) {
             return withCurve(a, 2, 2, [&](Curve c) {
                 return status<AcGeVector3d>(
                     [&](AcGeVector3d& v) { return c.getFirstDeriv(realArgument(a[1]), v); }, vectorValue);
             });
         }},
        {L"VLAX-CURVE-GETSECONDDERIV",
         [](const Args& a) {
             return withCurve(a, 2, 2, [&](Curve c) {
                 return status<AcGeVector3d>(
                     [&](AcGeVector3d& v) { return c.getSecondDeriv(realArgument(a[1]), v); }, vectorValue);
             });
         }},
        {L"VLAX-CURVE-GETCLOSESTPOINTTO",
         [](const Args& a) {
             return withCurve(a, 2, 3, [&](Curve c) {
                 const bool extend = a.size() > 2 && !a[2].isNil();
                 return status<AcGePoint3d>(
                     [&](AcGePoint3d& v) { return c.getClosestPointTo(pointArgument(a[1]), v, extend); },
                     pointOf);
             });
         }},
        {L"VLAX-CURVE-GETAREA",
         [](const Args& a) {
             return withCurve(a, 1, 1, [](Curve c) {
                 return status<double>([&](double& v) { return c.getArea(v); }, real);
             });
         }},
        {L"VLAX-CURVE-ISCLOSED",
         [](const Args& a) {
             return withCurve(a, 1, 1, [](Curve c) { return std::optional<LispValue>(truth(c.isClosed())); });
         }},
        {L"VLAX-CURVE-ISPLANAR",
         [](const Args& a) {
             return withCurve(a, 1, 1, [](Curve c) { return std::optional<LispValue>(truth(c.isPlanar())); });
         }},
    };
    return table;
}

} // namespace host
