#include "host/lisp/curve_builtins.h"

#include <optional>

#include "host/db/db_object.h"
#include "host/entities/curve.h"
#include "host/filing/text_codec.h"
#include "host/lisp/lisp_text.h"

namespace host {

namespace {

// Opens the curve `entity` names for read, runs the query and closes it; nil when the name is not a curve of
// the drawing.
template <class Query> LispValue withCurve(LispEntityName entity, Query query) {
    AcDbObjectId id;
    AcDbCurve* curve = nullptr;
    if (acdbGetObjectId(id, entity.value.name) != Acad::eOk ||
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

using Curve = const AcDbCurve&;

// A query of one number, a parameter or a distance, that answers a value of the type T.
template <class T>
LispBuiltin numberQuery(Acad::ErrorStatus (AcDbCurve::*method)(double, T&) const, LispValue (*make)(T)) {
    return lispFunction([method, make](LispEntityName e, double x) {
        return withCurve(e,
                         [&](Curve c) { return status<T>([&](T& v) { return (c.*method)(x, v); }, make); });
    });
}

// A query of a point that answers a number.
LispBuiltin pointQuery(Acad::ErrorStatus (AcDbCurve::*method)(const AcGePoint3d&, double&) const) {
    return lispFunction([method](LispEntityName e, AcGePoint3d p) {
        return withCurve(
            e, [&](Curve c) { return status<double>([&](double& v) { return (c.*method)(p, v); }, real); });
    });
}

// A query of the curve alone that answers a value of the type T.
template <class T>
LispBuiltin curveQuery(Acad::ErrorStatus (AcDbCurve::*method)(T&) const, LispValue (*make)(T)) {
    return lispFunction([method, make](LispEntityName e) {
        return withCurve(e, [&](Curve c) { return status<T>([&](T& v) { return (c.*method)(v); }, make); });
    });
}

} // namespace

const LispBuiltinTable& curveBuiltins() {
    static const LispBuiltinTable table = {
        {L"VLAX-CURVE-GETSTARTPARAM", curveQuery<double>(&AcDbCurve::getStartParam, real)},
        {L"VLAX-CURVE-GETENDPARAM", curveQuery<double>(&AcDbCurve::getEndParam, real)},
        {L"VLAX-CURVE-GETSTARTPOINT", curveQuery<AcGePoint3d>(&AcDbCurve::getStartPoint, pointOf)},
        {L"VLAX-CURVE-GETENDPOINT", curveQuery<AcGePoint3d>(&AcDbCurve::getEndPoint, pointOf)},
        {L"VLAX-CURVE-GETAREA", curveQuery<double>(&AcDbCurve::getArea, real)},
        {L"VLAX-CURVE-GETPOINTATPARAM", numberQuery<AcGePoint3d>(&AcDbCurve::getPointAtParam, pointOf)},
        {L"VLAX-CURVE-GETDISTATPARAM", numberQuery<double>(&AcDbCurve::getDistAtParam, real)},
        {L"VLAX-CURVE-GETPARAMATDIST", numberQuery<double>(&AcDbCurve::getParamAtDist, real)},
        {L"VLAX-CURVE-GETPOINTATDIST", numberQuery<AcGePoint3d>(&AcDbCurve::getPointAtDist, pointOf)},
        {L"VLAX-CURVE-GETFIRSTDERIV", numberQuery<AcGeVector3d>(&AcDbCurve::getFirstDeriv, vectorValue)},
        {L"VLAX-CURVE-GETSECONDDERIV", numberQuery<AcGeVector3d>(&AcDbCurve::getSecondDeriv, vectorValue)},
        {L"VLAX-CURVE-GETPARAMATPOINT", pointQuery(&AcDbCurve::getParamAtPoint)},
        {L"VLAX-CURVE-GETDISTATPOINT", pointQuery(&AcDbCurve::getDistAtPoint)},
        {L"VLAX-CURVE-GETCLOSESTPOINTTO",
         lispFunction([](LispEntityName e, AcGePoint3d p, std::optional<bool> extend) {
             return withCurve(e, [&](Curve c) {
                 return status<AcGePoint3d>(
                     [&](AcGePoint3d& v) { return c.getClosestPointTo(p, v, extend.value_or(false)); },
                     pointOf);
             });
         })},
        {L"VLAX-CURVE-ISCLOSED", lispFunction([](LispEntityName e) {
             return withCurve(e, [](Curve c) { return std::optional<LispValue>(truth(c.isClosed())); });
         })},
        {L"VLAX-CURVE-ISPLANAR", lispFunction([](LispEntityName e) {
             return withCurve(e, [](Curve c) { return std::optional<LispValue>(truth(c.isPlanar())); });
         })},
    };
    return table;
}

} // namespace host
