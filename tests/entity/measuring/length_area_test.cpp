// Lengths, areas and the inside test.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "geometry/points/angle_units.h"
#include "host/db/database.h"
#include "tests/entity/poly_test_support.h"
#include "tests/entity/sample_polylines.h"
#include "tests/host/host_test_support.h"

using poly_test::append;
using poly_test::appendAll;
using poly_test::Attributes;

namespace {

constexpr double kPi = std::numbers::pi;

// The unit square, clockwise (y down first) or anticlockwise, closed by its bit.
void unitSquare(CPolyArc3D& poly, bool clockwise) {
    if (clockwise)
        appendAll(poly, {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}});
    else
        appendAll(poly, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    poly.f70(1);
}

TEST(Lengths, InPlanInThreeDimensionsAndAsChords) {
    PolyArc3D poly;
    append(poly, {0, 0, 10}, {.bulge = 1});
    append(poly, {2, 0, 10});
    append(poly, {2, 3, 14});
    EXPECT_DOUBLE_EQ(poly.getLen(0, 0, 0, nullptr), kPi + 3);
    EXPECT_DOUBLE_EQ(poly.getLen(1, 0, 0, nullptr), kPi + 5);
    EXPECT_DOUBLE_EQ(poly.getLen(0, 0, 1, nullptr), 5);
    // A height of 0 is no height: that segment is measured in plan.
    poly.T()->pt = CPoint3d(2, 3, 0);
    EXPECT_DOUBLE_EQ(poly.getLen(1, 0, 0, nullptr), kPi + 3);
    poly.f70(1);
    EXPECT_DOUBLE_EQ(poly.getLen(0, 0, 0, nullptr), kPi + 3 + std::sqrt(13.0));
}

TEST(Lengths, CleaningRemovesAVertexWithinTheTolerance) {
    PolyArc3D poly;
    append(poly, {0, 0, 0});
    append(poly, {5, 0, 0}, {.tef1 = 2});
    append(poly, {5.00005, 0, 0});
    append(poly, {5.00005, 4, 0});
    double area = -1;
    EXPECT_NEAR(poly.getLen(0, 1, 0, &area), 9.00005, 1e-12);
    ASSERT_EQ(poly.GetCount(), 3);
    EXPECT_EQ(CPoint3d(poly.H(1)->pt).x, 5.00005);
    EXPECT_EQ(int(poly.H(1)->tef1), 2); // the code went on to the vertex kept
    EXPECT_NEAR(area, -10.0001, 1e-9);
    // Without cleaning nothing goes.
    append(poly, {5.00005, 4.00001, 0});
    EXPECT_NEAR(poly.getLen(0, 0, 0, nullptr), 9.00006, 1e-12);
    EXPECT_EQ(poly.GetCount(), 4);
}

TEST(Lengths, AtAVertexFromAnotherAndRoundTheClosingSegment) {
    PolyArc3D poly;
    unitSquare(poly, false);
    EXPECT_DOUBLE_EQ(poly.getLenAtVertex(poly.H(2), 0, nullptr), 2);
    EXPECT_DOUBLE_EQ(poly.getLenAtVertex(poly.H(3), 0, poly.H(1)), 2);
    EXPECT_DOUBLE_EQ(poly.getLenAtVertex(poly.H(), 0, poly.H(2)), 2);
    EXPECT_DOUBLE_EQ(poly.getLenAtVertex(nullptr, 0, nullptr), 4);
    poly.f70(0);
    EXPECT_DOUBLE_EQ(poly.getLenAtVertex(nullptr, 0, nullptr), 3);
    EXPECT_EQ(PolyArc3D().getLenAtVertex(nullptr, 0, nullptr), 0);
}

// The whole length of an outline of ordinary vertices is summed by a walk of its own; it must answer the
// vertex-by-vertex walk's value to the bit, and hand anything out of the ordinary over to that walk.
class WholeLength : public ::testing::Test {
protected:
    // A wavy ring of survey coordinates with heights. Its nodes are not all in the pool's order: every third
    // one is taken between another entity's, and every seventh is inserted after the one before it.
    void wavyRing(int count) {
        for (int i = 0; i < count; ++i) {
            const double a = 2 * kPi * i / count;
            const double r = 300 + 7 * std::sin(a * 40);
            const CPoint3d p(652000 + r * std::cos(a), 6234000 + r * std::sin(a), 400 + 3 * std::cos(a * 9));
            if (i % 7 == 6)
                poly.I(poly.T()->pVB)->pt = p;
            else
                append(poly, p);
            if (i % 3 == 0) append(other, p);
        }
        poly.f70(1);
    }
    // The careful walk, and the sum the test makes itself.
    double walked(int in3d) { return poly.getLenAtVertex(nullptr, in3d, nullptr); }
    double ownPlanSum() const {
        double sum = 0;
        for (const P_Vertex* v = poly.H(); v; v = v->pVN) {
            const CPoint3d a = v->pt;
            const CPoint3d b = (v->pVN ? v->pVN : poly.H())->pt;
            sum += std::hypot(b.x - a.x, b.y - a.y);
        }
        return sum;
    }

    PolyArc3D poly;
    PolyArc3D other;
};

TEST_F(WholeLength, OrdinaryVerticesGiveTheCarefulWalksValueToTheBit) {
    wavyRing(3000);
    EXPECT_NEAR(poly.getLen(0, 0, 0, nullptr), ownPlanSum(), 1e-9);
    for (int closed : {1, 0}) {
        poly.f70(closed);
        for (int in3d : {0, 1})
            EXPECT_EQ(poly.getLen(in3d, 0, 0, nullptr), walked(in3d)) << closed << in3d;
    }
}

TEST_F(WholeLength, AnythingOutOfTheOrdinaryIsMeasuredByTheCarefulWalk) {
    wavyRing(3000);
    const double straight = poly.getLen(0, 0, 0, nullptr);
    // The closing segment an arc: only the tail says so.
    poly.T()->bulge = 0.5;
    EXPECT_EQ(poly.getLen(0, 0, 0, nullptr), walked(0));
    EXPECT_GT(poly.getLen(0, 0, 0, nullptr), straight + 1e-3);
    EXPECT_EQ(poly.getLen(1, 0, 0, nullptr), walked(1));
    poly.T()->bulge = 0;
    // An empty point: its two segments measure nothing in plan, and as they stand in 3-D.
    P_Vertex* middle = poly.H(1500);
    middle->pt = CPoint3d(_RVIDE, 6234000, 400);
    EXPECT_EQ(poly.getLen(0, 0, 0, nullptr), walked(0));
    EXPECT_LT(poly.getLen(0, 0, 0, nullptr), straight);
    EXPECT_EQ(poly.getLen(1, 0, 0, nullptr), walked(1));
    EXPECT_GT(poly.getLen(1, 0, 0, nullptr), straight + 1e6);
}

TEST_F(WholeLength, CoordinatesBeyondTheSquaresRangeAreScaled) {
    append(poly, {0, 0, 1});
    append(poly, {3e250, 0, 1});
    append(poly, {3e250, 4e250, 1});
    EXPECT_DOUBLE_EQ(poly.getLen(0, 0, 0, nullptr), 7e250);
    poly.f70(1);
    EXPECT_DOUBLE_EQ(poly.getLen(0, 0, 0, nullptr), 12e250);
    EXPECT_EQ(poly.getLen(1, 0, 0, nullptr), walked(1));
}

TEST_F(WholeLength, AHeightThatIsNotFiniteFailsInPlanToo) {
    for (bool atHead : {true, false}) {
        PolyArc3D ring;
        appendAll(ring, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}});
        (atHead ? ring.H() : ring.T())->pt = CPoint3d(1, 1, std::numeric_limits<double>::quiet_NaN());
        EXPECT_EQ(ring.getLen(0, 0, 0, nullptr), 0) << atHead;
        ring.f70(1);
        EXPECT_EQ(ring.getLen(0, 0, 0, nullptr), 0) << atHead;
    }
}

TEST(Areas, ClockwiseIsPositive) {
    PolyArc3D clockwise, anticlockwise;
    unitSquare(clockwise, true);
    unitSquare(anticlockwise, false);
    double perimeter = 0;
    EXPECT_DOUBLE_EQ(clockwise.getArea(&perimeter), 1);
    EXPECT_DOUBLE_EQ(perimeter, 4);
    EXPECT_DOUBLE_EQ(anticlockwise.getArea(nullptr), -1);
    // An open outline is closed for its area, not for its perimeter.
    anticlockwise.f70(0);
    EXPECT_DOUBLE_EQ(anticlockwise.getArea(&perimeter), -1);
    EXPECT_DOUBLE_EQ(perimeter, 3);
}

// The area's walk folds its checks into its sums: a bad vertex anywhere is refused as before, and finite
// coordinates whose products overflow are still measured.
TEST(Areas, EveryVertexIsCheckedWhereverItStands) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Attributes> bad = {{.bulge = 1e9}, {.bulge = nan}, {}, {}};
    const std::vector<CPoint3d> badPoints = {{1, 1, 1}, {1, 1, 1}, {nan, 1, 1}, {1, 1, inf}};
    for (std::size_t kind = 0; kind < bad.size(); ++kind) {
        // The last position is a tail that repeats the head: past the measured ring.
        for (int at = 0; at < 5; ++at) {
            PolyArc3D poly;
            const std::vector<CPoint3d> ring = {{0, 0, 1}, {0, 2, 1}, {2, 2, 1}, {2, 0, 1}, {0, 0, 1}};
            for (int i = 0; i < 5; ++i) {
                const bool here = i == at;
                append(poly, here && kind >= 2 ? badPoints[kind] : ring[i], here ? bad[kind] : Attributes{});
            }
            poly.f70(1);
            double perimeter = -1;
            EXPECT_EQ(poly.getArea(&perimeter), 0) << kind << " at " << at;
            EXPECT_EQ(perimeter, 0) << kind << " at " << at;
        }
    }
    PolyArc3D huge;
    appendAll(huge, {{0, 0, 1}, {0, 2e200, 1}, {2e200, 2e200, 1}, {2e200, 0, 1}});
    huge.f70(1);
    double perimeter = 0;
    EXPECT_EQ(huge.getArea(&perimeter), inf);
    EXPECT_DOUBLE_EQ(perimeter, 8e200);
}

TEST(Areas, AHalfDiscCountsItsArc) {
    for (double d : {2.0, 7.5}) {
        PolyArc3D poly;
        append(poly, {0, 0, 0}, {.bulge = 1});
        append(poly, {d, 0, 0});
        double perimeter = 0;
        EXPECT_NEAR(poly.getArea(&perimeter), -kPi / 8 * d * d, 1e-12 * d * d);
        EXPECT_NEAR(perimeter, kPi * d / 2, 1e-12 * d); // open: the diameter does not count
    }
}

TEST(Areas, AnOutlineBackAtItsStartIsClosedAsItsPiecesAre) {
    host::test::WorkingDatabase working;
    poly_test::addLinetype(*working.db, L"S_TALUS");
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0.0003, 0, 0}});
    double perimeter = 0;
    // Another linetype measures the outline as it stands, open.
    EXPECT_DOUBLE_EQ(poly.getArea(&perimeter), 1);
    EXPECT_DOUBLE_EQ(perimeter, 3.9997);
    // A linetype of pieces: ends within four tolerances in plan meet, the last vertex goes, and an open
    // outline leaves the segment back to the first out of its perimeter.
    poly.setLinetype(L"S_TALUS");
    EXPECT_DOUBLE_EQ(poly.getArea(&perimeter), 1);
    EXPECT_DOUBLE_EQ(perimeter, 3);
    // Repeated exactly, the first vertex closes the outline, whose perimeter then counts all four sides.
    poly.T()->pt = CPoint3d(0, 0, 0);
    EXPECT_DOUBLE_EQ(poly.getArea(&perimeter), 1);
    EXPECT_DOUBLE_EQ(perimeter, 4);
    // A second repetition (in 3-D) goes as well once the outline is closed.
    append(poly, {0, 0, 0}, {.bulge = 0.5});
    EXPECT_DOUBLE_EQ(poly.getArea(&perimeter), 1);
    EXPECT_DOUBLE_EQ(perimeter, 4);
    EXPECT_EQ(poly.GetCount(), 6); // measured where it stands
    // Two vertices that meet leave no outline.
    PolyArc3D pair;
    append(pair, {0, 0, 0}, {.bulge = 1});
    append(pair, {0.0001, 0, 0});
    pair.setLinetype(L"S_TALUS");
    EXPECT_EQ(pair.getArea(&perimeter), 0);
    EXPECT_EQ(perimeter, 0);
}

TEST(Areas, SurveyCoordinatesKeepTheirPrecision) {
    PolyArc3D poly;
    const double x = 652345.1234567, y = 6234567.8901234;
    appendAll(poly, {{x, y, 0}, {x, y + 0.01, 0}, {x + 0.01, y + 0.01, 0}, {x + 0.01, y, 0}});
    EXPECT_NEAR(poly.getArea(nullptr), 1e-4, 1e-11);
}

TEST(Areas, PiecesAtBreaksAreSummedForLinetypesOfPieces) {
    // Two unit squares side by side, drawn as one polyline broken between them.
    host::test::WorkingDatabase working;
    poly_test::addLinetype(*working.db, L"S_TALUS");
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0}});
    poly.T()->tef1 = 2;
    appendAll(poly, {{5, 0, 0}, {5, 1, 0}, {6, 1, 0}, {6, 0, 0}, {5, 0, 0}});
    poly.setLinetype(L"S_TALUS");
    double perimeter = 0;
    EXPECT_DOUBLE_EQ(poly.getArea(&perimeter), 2);
    EXPECT_DOUBLE_EQ(perimeter, 8);
    EXPECT_EQ(poly.GetCount(), 10); // measured on a copy
    // Any other linetype measures the whole outline, open.
    poly.setLinetype(L"CONTINUOUS");
    EXPECT_DOUBLE_EQ(poly.getArea(&perimeter), 2);
    EXPECT_DOUBLE_EQ(perimeter, 13);
}

TEST(InsideTest, AnOpenOutlineHasNoInside) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}});
    EXPECT_EQ(poly.isInside(CPoint3d(0.2, 0.5, 0), 7), -2);
}

TEST(InsideTest, TheAnswerDoesNotDependOnTheDirectionOfTravel) {
    for (bool clockwise : {true, false}) {
        PolyArc3D poly;
        unitSquare(poly, clockwise);
        EXPECT_EQ(poly.isInside(CPoint3d(0.5, 0.5, 0), 7), 1) << clockwise;
        EXPECT_EQ(poly.isInside(CPoint3d(0.5, 3, 0), 7), -1) << clockwise;
        EXPECT_EQ(poly.isInside(CPoint3d(0.5, -3, 0), 7), 7) << clockwise; // nothing below
        EXPECT_EQ(poly.isInside(CPoint3d(0.5, 1, 0), 7), 0) << clockwise;
        EXPECT_EQ(poly.isInside(CPoint3d(1, 0.25, 0), 7), 0) << clockwise;
        EXPECT_EQ(poly.isInside(CPoint3d(1, 1, 0), 7), 0) << clockwise;
    }
}

TEST(InsideTest, ALineThroughAVertexThatOnlyTouchesDoesNotCount) {
    // A 4 x 4 square with a wedge cut into its right side; the wedge's tip (2, 1) lies straight below (2, 3).
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {0, 4, 0}, {4, 4, 0}, {4, 2, 0}, {2, 1, 0}, {4, 0.5, 0}, {4, 0, 0}});
    poly.f70(1);
    EXPECT_EQ(poly.isInside(CPoint3d(2, 3, 0), -5), 1);
    EXPECT_EQ(poly.isInside(CPoint3d(3, 1.2, 0), -5), -1); // in the wedge
    EXPECT_EQ(poly.isInside(CPoint3d(2, 5, 0), -5), -1);
    // Closing by coincident ends counts as closed.
    PolyArc3D ends;
    appendAll(ends, {{0, 0, 0}, {0, 4, 0}, {4, 4, 0}, {4, 0, 0}, {0, 0, 0}});
    EXPECT_EQ(ends.isInside(CPoint3d(2, 2, 0), -5), 1);
    EXPECT_EQ(ends.GetCount(), 4);
}

} // namespace
