// Runs of vertices replaced by arcs, and offset polylines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "geometry/arcs/arc3d.h"
#include "tests/entity/poly_test_support.h"

using poly_test::append;
using poly_test::appendAll;
using poly_test::point;

namespace {

constexpr double kPi = std::numbers::pi;

// Points of the circle of radius 10 round the origin, anticlockwise from angle 0 by kStep: the chords between
// them stay within 0.003 of the circle.
constexpr double kStep = kPi / 64;
constexpr double kTolerance = 0.005;

void onCircle(CPolyArc3D& poly, int count, int offCircle = -1) {
    for (int i = 0; i < count; ++i) {
        const double r = 10 + (i == offCircle ? 2 * kTolerance : 0);
        append(poly, {r * std::cos(i * kStep), r * std::sin(i * kStep), 0});
    }
}

// The largest distance of the points from the circle of the arc that starts at v.
double largestDeviation(const P_Vertex* v, const std::vector<CPoint3d>& points) {
    CArc3d arc(v, v->pVN->pt);
    double largest = 0;
    for (const CPoint3d& p : points)
        largest = std::max(largest, std::fabs(arc.centre.dist2dTo(p) - arc.radius));
    return largest;
}

std::vector<CPoint3d> pointsOf(const CPolyArc3D& poly) {
    std::vector<CPoint3d> points;
    for (const P_Vertex* v = poly.H(); v; v = v->pVN)
        points.push_back(v->pt);
    return points;
}

TEST(ArcReplacement, FiveVerticesOfOneCircleBecomeOneArc) {
    PolyArc3D poly;
    onCircle(poly, 5);
    const std::vector<CPoint3d> before = pointsOf(poly);
    EXPECT_EQ(poly.EDelParc(kTolerance, 16, nullptr, nullptr), 3);
    ASSERT_EQ(poly.GetCount(), 2);
    // An arc of the quarter circle's turn, fitted between the vertices and the chords that joined them.
    EXPECT_NEAR(poly.H()->bulge, std::tan(kStep), 0.05 * std::tan(kStep));
    EXPECT_LE(largestDeviation(poly.H(), before), kTolerance);
    EXPECT_EQ(int(poly.H()->flags), 0); // no marks left
    EXPECT_EQ(int(poly.T()->flags), 0);
}

TEST(ArcReplacement, ARunDoesNotPassAPointOffTheCircle) {
    PolyArc3D poly;
    onCircle(poly, 9, 4);
    const CPoint3d off = point(poly.H(4));
    poly.EDelParc(kTolerance, 16 | 8, nullptr, nullptr);
    // The point off the circle ends one arc and starts the next.
    ASSERT_EQ(poly.GetCount(), 3);
    EXPECT_EQ(point(poly.H(1)), off);
    for (const P_Vertex* v = poly.H(); v; v = v->pVN)
        EXPECT_EQ(int(v->flags), 4); // the ends of the runs marked as corners
    // On the circle it would have gone too.
    PolyArc3D on;
    onCircle(on, 9);
    on.EDelParc(kTolerance, 16, nullptr, nullptr);
    EXPECT_EQ(on.GetCount(), 2);
}

TEST(ArcReplacement, OnlyGeneratedVerticesGoWithModeOneAndMarkingStopsAtBitSeven) {
    PolyArc3D poly;
    onCircle(poly, 5);
    poly.H(1)->flags = 1;
    poly.H(3)->flags = 1;
    EXPECT_EQ(poly.EDelParc(kTolerance, 1, nullptr, nullptr), 2);
    EXPECT_EQ(poly.GetCount(), 3);
    PolyArc3D stopped;
    onCircle(stopped, 5);
    stopped.H(2)->flags = 0x80;
    EXPECT_EQ(stopped.EDelParc(kTolerance, 16, nullptr, nullptr), 1);
    EXPECT_EQ(stopped.GetCount(), 4);
    EXPECT_EQ(int(stopped.H(1)->flags), 0x80);
}

TEST(Offsets, ALineMovesToItsRightByTheDistanceAndTheWidths) {
    PolyArc3D poly;
    append(poly, {0, 0, 5}, {.i40 = 200000, .tag = 3});
    append(poly, {10, 0, 6}, {.i40 = 200000});
    std::unique_ptr<CPolyArc3D> offset(poly.decale(1, 0, 0, 0));
    ASSERT_TRUE(offset);
    ASSERT_EQ(offset->GetCount(), 2);
    EXPECT_NEAR(point(offset->H()).dist3dTo(CPoint3d(0, -1, 5)), 0, 1e-12);
    EXPECT_NEAR(point(offset->T()).dist3dTo(CPoint3d(10, -1, 6)), 0, 1e-12);
    EXPECT_EQ(std::int64_t(offset->H()->tag), 3);
    offset.reset(poly.decale(1, 0.5, 0, 0));
    EXPECT_NEAR(point(offset->H()).dist3dTo(CPoint3d(0, -2, 5)), 0, 1e-12);
    offset.reset(poly.decale(-1, 0, 0, 0));
    EXPECT_NEAR(point(offset->T()).dist3dTo(CPoint3d(10, 1, 6)), 0, 1e-12);
}

TEST(Offsets, ARightAngleGetsItsMitre) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    std::unique_ptr<CPolyArc3D> offset(poly.decale(1, 0, 0, 0));
    ASSERT_EQ(offset->GetCount(), 3);
    EXPECT_NEAR(point(offset->H(1)).dist2dTo(CPoint3d(10, 0, 0)), std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(point(offset->H(1)).x, 11, 1e-12);
    EXPECT_NEAR(point(offset->H(1)).y, -1, 1e-12);
    // On the inside of the corner the mitre shortens both segments.
    offset.reset(poly.decale(-1, 0, 0, 0));
    EXPECT_NEAR(point(offset->H(1)).x, 9, 1e-12);
    EXPECT_NEAR(point(offset->H(1)).y, 1, 1e-12);
}

TEST(Offsets, ASharpCornerIsBevelledByThreePointsAtTheDistance) {
    // A turn of 160 degrees: its mitre would reach 5.8 times the distance.
    PolyArc3D poly;
    const double turn = 160 * kPi / 180;
    appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10 + 10 * std::cos(turn), 10 * std::sin(turn), 0}});
    std::unique_ptr<CPolyArc3D> offset(poly.decale(1, 0, 0, 0));
    ASSERT_EQ(offset->GetCount(), 5);
    const CPoint3d corner(10, 0, 0);
    for (int i = 1; i <= 3; ++i)
        EXPECT_NEAR(point(offset->H(i)).dist2dTo(corner), 1, 1e-12) << i;
    EXPECT_NEAR(point(offset->H(1)).y, -1, 1e-12); // on the normal of the incoming segment
}

TEST(Offsets, ArcsKeepTheirBulgeAndChangeTheirRadius) {
    PolyArc3D poly;
    append(poly, {0, 0, 0}, {.bulge = 1});
    append(poly, {20, 0, 0});
    std::unique_ptr<CPolyArc3D> offset(poly.decale(2, 0, 0, 0));
    ASSERT_EQ(offset->GetCount(), 2);
    EXPECT_EQ(offset->H()->bulge, 1);
    EXPECT_NEAR(point(offset->H()).x, -2, 1e-12);
    EXPECT_NEAR(point(offset->T()).x, 22, 1e-12);
    // Inwards by more than the radius the arc would turn inside out: nothing is left.
    EXPECT_EQ(poly.decale(-12, 0, 0, 0), nullptr);
}

TEST(Offsets, AClosedOutlineEndsWhereItStarts) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {0, 10, 0}, {10, 10, 0}, {10, 0, 0}});
    poly.f70(1);
    std::unique_ptr<CPolyArc3D> offset(poly.decale(1, 0, 0, 0));
    ASSERT_EQ(offset->GetCount(), 5);
    EXPECT_EQ(offset->f70() & 1, 0);
    EXPECT_NEAR(point(offset->H()).x, 1, 1e-12);
    EXPECT_NEAR(point(offset->H()).y, 1, 1e-12);
    EXPECT_NEAR(point(offset->T()).dist2dTo(point(offset->H())), 0, 1e-12);
    EXPECT_NEAR(offset->getArea(nullptr), 64, 1e-9);
}

} // namespace
