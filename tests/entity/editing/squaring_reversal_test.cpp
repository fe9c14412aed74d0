// Squaring and reversing.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/entity/poly_test_support.h"

using poly_test::append;
using poly_test::appendAll;
using poly_test::point;

namespace {

constexpr double kPi = std::numbers::pi;

double bearing(const P_Vertex* a, const P_Vertex* b) {
    return point(a).gisTo(b->pt);
}

TEST(Squaring, ANearRectangleBecomesARectangleOnItsLongestSide) {
    // Sides of 20 and 8, each off by 2 degrees, the whole turned by 30 degrees.
    const double off = 2 * kPi / 180, turn = kPi / 6;
    PolyArc3D poly;
    CPoint3d p(100, 200, 7);
    const double lengths[] = {20, 8, 20};
    const double directions[] = {turn, turn + kPi / 2 + off, turn + kPi - off};
    append(poly, p);
    for (int i = 0; i < 3; ++i) {
        p = p.polar(directions[i], lengths[i]);
        append(poly, p);
    }
    poly.f70(1);
    EXPECT_TRUE(poly.eSquare(0, 0, nullptr, nullptr));
    for (int i = 0; i < 4; ++i) {
        const P_Vertex* a = poly.H(i);
        const P_Vertex* b = poly.N(const_cast<P_Vertex*>(a));
        const double turnAt = std::remainder(bearing(a, b) - turn, kPi / 2);
        EXPECT_NEAR(turnAt, 0, 1e-12) << i;
    }
    EXPECT_EQ(point(poly.H(2)).z, 7); // heights stay
}

TEST(Squaring, SidesNearTheDiagonalBecomeDiagonalOthersBetweenAreLeft) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {13, 2.6, 0}, {14, 5, 0}});
    EXPECT_TRUE(poly.eSquare(0, 0, nullptr, nullptr));
    EXPECT_NEAR(point(poly.H(2)).x, 12.8, 1e-12); // 3 by 2.6: diagonal
    EXPECT_NEAR(point(poly.H(2)).y, 2.8, 1e-12);
    EXPECT_NEAR(point(poly.T()).x, 14, 1e-12); // 1.2 by 2.2: neither near an axis nor near the diagonal
    EXPECT_NEAR(point(poly.T()).y, 5, 1e-12);
}

TEST(Squaring, SidesFartherOffThanAllowedAreLeft) {
    for (double allowed : {0.0, 0.5}) {
        PolyArc3D poly;
        appendAll(poly, {{0, 0, 0}, {20, 0, 0}, {20.8, 10, 0}});
        EXPECT_TRUE(poly.eSquare(0, allowed, nullptr, nullptr));
        EXPECT_NEAR(point(poly.T()).x, allowed == 0 ? 20.4 : 20.8, 1e-12) << allowed;
    }
}

TEST(Squaring, ATooShortLongestSideIsRefused) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {0.3, 0, 0}, {0.3, 0.3, 0}});
    EXPECT_FALSE(poly.eSquare(0, 0, nullptr, nullptr));
}

// A polyline whose every vertex differs in bulge, code and height and width codes.
void varied(CPolyArc3D& poly) {
    for (int i = 0; i < 5; ++i)
        append(poly, {double(i), double(i * i), 0},
               {.bulge = i < 4 ? 0.1 * (i + 1) : 0,
                .flags = short(i),
                .tef1 = static_cast<signed char>(i + 1),
                .tef2 = static_cast<signed char>(i),
                .i39 = 1000 * i,
                .i40 = 7 * i + 1,
                .tag = i});
}

TEST(Reversal, TwiceGivesBackTheFirstPolyline) {
    for (bool closed : {false, true}) {
        PolyArc3D poly, reference;
        varied(poly);
        varied(reference);
        if (closed) {
            poly.T()->bulge = -0.3;
            reference.T()->bulge = -0.3;
            poly.f70(1);
            reference.f70(1);
        }
        EXPECT_TRUE(poly.einvsens(0, nullptr, nullptr));
        EXPECT_EQ(point(poly.H()).x, 4);
        EXPECT_EQ(int(poly.H()->flags), 4); // flags and tags travel with their vertex
        EXPECT_DOUBLE_EQ(poly.H()->bulge, -0.4);
        EXPECT_EQ(int(poly.H()->tef1), 4);
        EXPECT_EQ(std::int32_t(poly.H()->i40), -29);
        EXPECT_TRUE(poly.einvsens(0, nullptr, nullptr));
        poly_test::expectSamePolyline(poly, reference);
    }
}

TEST(Reversal, APartialReversalTurnsOnlyItsStretch) {
    PolyArc3D poly;
    varied(poly);
    EXPECT_TRUE(poly.einvsens(0, poly.H(1), poly.H(3)));
    EXPECT_EQ(point(poly.H(1)).x, 3);
    EXPECT_EQ(point(poly.H(3)).x, 1);
    EXPECT_EQ(std::int32_t(poly.H()->i40), 1); // outside the stretch: as it was
    EXPECT_EQ(std::int32_t(poly.T()->i40), 29);
    EXPECT_EQ(std::int32_t(poly.H(2)->i40), -15);
    EXPECT_DOUBLE_EQ(poly.H(1)->bulge, -0.3); // the segment 2-3 travelled backwards
    EXPECT_EQ(poly.H(3)->bulge, 0);           // a new joint to the vertex after the stretch
    EXPECT_EQ(int(poly.H(3)->tef1), 4);       // with the code of the stretch's old end
    EXPECT_DOUBLE_EQ(poly.H()->bulge, 0.1);
    // A stretch that does not follow from its start on an open polyline is refused.
    EXPECT_FALSE(poly.einvsens(0, poly.H(3), poly.H(1)));
}

TEST(Reversal, BreaksAreNotCrossedInModeOne) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}});
    poly.H(1)->tef1 = 2;
    EXPECT_TRUE(poly.einvsens(1, nullptr, nullptr));
    std::vector<double> x;
    for (const P_Vertex* v = poly.H(); v; v = v->pVN)
        x.push_back(point(v).x);
    EXPECT_EQ(x, (std::vector<double>{1, 0, 4, 3, 2}));
    EXPECT_EQ(int(poly.H(1)->tef1), 2); // the joint between the parts is still the break
}

} // namespace
