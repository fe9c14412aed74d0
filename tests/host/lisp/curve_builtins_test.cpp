// The LISP curve functions on host curves: values, nil on a failing status, errors on bad arguments.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "host/db/symbol_tables.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/lisp/lisp_eval.h"
#include "host/lisp/lisp_text.h"
#include "tests/host/editor_test_support.h"

namespace {

struct CurveFunctions : ::testing::Test {
    host::test::EditorSession session;

    CurveFunctions() {
        auto* square = new AcDbPolyline;
        square->addVertexAt(0, {0, 0});
        square->addVertexAt(1, {10, 0});
        square->addVertexAt(2, {10, 10});
        square->addVertexAt(3, {0, 10});
        square->setClosed(true);
        add(square);
    }
    void add(AcDbEntity* entity) { session.addEntity(entity); }
    static host::LispValue eval(const std::wstring& text) {
        return host::evaluateLisp(host::readLisp(text)[0]);
    }
};

TEST_F(CurveFunctions, AnswerTheCurveProtocolOfTheEntityNamed) {
    EXPECT_EQ(eval(L"(vlax-curve-getEndParam (entlast))").number(), 4);
    EXPECT_EQ(eval(L"(vlax-curve-getStartParam (entlast))").number(), 0);
    EXPECT_EQ(eval(L"(vlax-curve-getDistAtParam (entlast) 2.5)").number(), 25);
    EXPECT_NEAR(eval(L"(vlax-curve-getDistAtPoint (entlast) '(10 4))").number(), 14, 1e-9);
    EXPECT_NEAR(eval(L"(vlax-curve-getParamAtPoint (entlast) '(10 4 0))").number(), 1.4, 1e-9);
    EXPECT_EQ(host::printLisp(eval(L"(vlax-curve-getPointAtParam (entlast) 1.5)")), L"(10.0 5.0 0.0)");
    EXPECT_EQ(host::printLisp(eval(L"(vlax-curve-getClosestPointTo (entlast) '(4 -3 0))")), L"(4.0 0.0 0.0)");
    EXPECT_EQ(host::printLisp(eval(L"(vlax-curve-getStartPoint (entlast))")), L"(0.0 0.0 0.0)");
    EXPECT_EQ(std::fabs(eval(L"(vlax-curve-getArea (entlast))").number()), 100);
    EXPECT_EQ(eval(L"(vlax-curve-isClosed (entlast))").kind, host::LispValue::True);
    EXPECT_EQ(eval(L"(vlax-curve-isPlanar (entlast))").kind, host::LispValue::True);
}

TEST_F(CurveFunctions, AFailingStatusIsNilAndABadArgumentAnError) {
    EXPECT_TRUE(eval(L"(vlax-curve-getPointAtParam (entlast) 7)").isNil());
    EXPECT_THROW(eval(L"(vlax-curve-getPointAtParam (entlast) \"a\")"), host::LispError);
    EXPECT_THROW(eval(L"(vlax-curve-getEndParam 3)"), host::LispError);
    EXPECT_THROW(eval(L"(vlax-curve-getEndParam)"), host::LispError);
    add(new AcDbLine({0, 0, 0}, {3, 4, 0}));
    EXPECT_EQ(eval(L"(vlax-curve-getDistAtParam (entlast) (vlax-curve-getEndParam (entlast)))").number(), 5);
}

} // namespace
