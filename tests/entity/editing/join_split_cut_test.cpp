// Joining polylines, splitting them into pieces, and cutting them in two.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "entity/editing/eclate_result.h"
#include "entity/editing/eclate_rules.h"
#include "geometry/points/angle_units.h"
#include "host/db/database.h"
#include "host/entities/line.h"
#include "tests/entity/poly_test_support.h"
#include "tests/entity/sample_polylines.h"
#include "tests/host/host_test_support.h"

using poly_test::append;
using poly_test::appendAll;
using poly_test::point;

namespace {

std::vector<double> xs(const CPolyArc3D& poly) {
    std::vector<double> x;
    for (const P_Vertex* v = poly.H(); v; v = v->pVN)
        x.push_back(point(v).x);
    return x;
}

struct Joining : ::testing::Test {
    poly_test::RegisteredClasses classes;
};

TEST_F(Joining, AnItemMeetingHeadToHeadIsReversedAndPutBeforeTheTarget) {
    PolyArc3D target, item;
    appendAll(target, {{0, 0, 5}, {10, 0, 5}});
    append(item, {0.00002, 0, 5});
    append(item, {-5, 0, 5}, {.tef1 = 3});
    append(item, {-5, -5, 5});
    item.H()->bulge = 0.25;
    CPtrArray items;
    items.Add(static_cast<AcDbEntity*>(&item));
    EXPECT_EQ(CPolyArc3D::joind(&target, items, 0, _ecpt, nullptr), 1);
    ASSERT_EQ(target.GetCount(), 4);
    EXPECT_EQ(point(target.H()), CPoint3d(-5, -5, 5));
    EXPECT_EQ(int(target.H()->tef1), 3);
    EXPECT_DOUBLE_EQ(target.H(1)->bulge, -0.25);       // the item's first segment, now travelled backwards
    EXPECT_NEAR(point(target.H(2)).x, 0.00001, 1e-15); // the two ends met halfway
    EXPECT_EQ(items.GetSize(), 1);
}

TEST_F(Joining, EndsAtDifferentHeightsKeepBothVertices) {
    PolyArc3D target, item;
    appendAll(target, {{0, 0, 5}, {10, 0, 5}});
    appendAll(item, {{10, 0, 6}, {20, 0, 6}});
    CPtrArray items;
    items.Add(static_cast<AcDbEntity*>(&item));
    EXPECT_EQ(CPolyArc3D::joind(&target, items, 0, 0.5, nullptr), 1);
    EXPECT_EQ(xs(target), (std::vector<double>{0, 10, 10, 20}));
}

TEST_F(Joining, PassesRepeatUntilNothingMoreJoins) {
    PolyArc3D target, last, middle, apart;
    appendAll(target, {{0, 0, 0}, {10, 0, 0}});
    appendAll(last, {{20, 0, 0}, {30, 0, 0}}); // meets the target only once `middle` is there
    appendAll(middle, {{10, 0, 0}, {20, 0, 0}});
    appendAll(apart, {{50, 50, 0}, {60, 60, 0}});
    CPtrArray items;
    for (CPolyArc3D* p : {&last, &apart, &middle})
        items.Add(static_cast<AcDbEntity*>(p));
    EXPECT_EQ(CPolyArc3D::joind(&target, items, 0, _ecpt, nullptr), 2);
    EXPECT_EQ(xs(target), (std::vector<double>{0, 10, 20, 30}));
    EXPECT_EQ(items.GetSize(), 3);
    EXPECT_EQ(apart.GetCount(), 2);
}

TEST_F(Joining, APickedPointChoosesTheEnds) {
    PolyArc3D target, item;
    appendAll(target, {{0, 0, 0}, {10, 0, 0}});
    appendAll(item, {{0, 0, 0}, {0, 10, 0}});
    CPtrArray items;
    items.Add(static_cast<AcDbEntity*>(&item));
    CPoint3d pick(10, 0, 0);
    EXPECT_EQ(CPolyArc3D::joind(&target, items, 0, _ecpt, &pick), 0);
    pick = CPoint3d(0, 0, 0);
    EXPECT_EQ(CPolyArc3D::joind(&target, items, 0, _ecpt, &pick), 1);
    EXPECT_EQ(xs(target), (std::vector<double>{0, 0, 10}));
}

TEST_F(Joining, WithModeOneTheJoinedItemsAreErasedAndEveryItemClosed) {
    host::test::WorkingDatabase working;
    auto* target = new PolyArc3D;
    appendAll(*target, {{0, 0, 0}, {10, 0, 0}});
    auto* item = new PolyArc3D;
    appendAll(*item, {{10, 0, 0}, {20, 0, 0}});
    auto* line = new AcDbLine(AcGePoint3d(20, 0, 0), AcGePoint3d(30, 0, 0));
    AcDbObjectId targetId, itemId, lineId;
    working.db->addAcDbObject(targetId, target);
    working.db->addAcDbObject(itemId, item);
    working.db->addAcDbObject(lineId, line);
    item->close();
    line->close();
    AcDbEntity* openItem = nullptr;
    AcDbEntity* openLine = nullptr;
    ASSERT_EQ(acdbOpenObject(openItem, itemId, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(acdbOpenObject(openLine, lineId, AcDb::kForWrite), Acad::eOk);
    CPtrArray items;
    items.Add(openItem);
    items.Add(openLine);
    // The host line joins through its conversion, like the polyline.
    EXPECT_EQ(CPolyArc3D::joind(target, items, 1, _ecpt, nullptr), 2);
    EXPECT_EQ(target->GetCount(), 4);
    EXPECT_EQ(CPoint3d(target->T()->pt), CPoint3d(30, 0, 0));
    target->close();
    for (const AcDbObjectId id : {itemId, lineId}) {
        AcDbEntity* erased = nullptr;
        EXPECT_EQ(acdbOpenObject(erased, id, AcDb::kForRead), Acad::eWasErased);
    }
}

TEST_F(Joining, TheInstanceFormOnlyClosesBelowTwoItems) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 0, 0}});
    CPtrArray two;
    two.Add(&poly);
    two.Add(&poly);
    poly.joind(&two);
    EXPECT_EQ(poly.GetCount(), 4);
    poly.joind(nullptr);
    EXPECT_EQ(poly.GetCount(), 3);
    EXPECT_TRUE(poly.f70() & 1);
}

struct Splitting : ::testing::Test {
    Splitting() {
        poly_test::addLinetype(*working.db, L"S_TALUS");
        poly.setLinetype(L"S_TALUS");
    }
    host::test::WorkingDatabase working;
    PolyArc3D poly;
    OwnedPieces pieces;
};

TEST_F(Splitting, BreaksEndPiecesAndTheCopyKeepsTheSourceVerticesTagged) {
    appendAll(poly, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}});
    poly.H(1)->tef1 = 2;
    poly.H(1)->tef2 = 1;
    poly.H(3)->tef1 = 3;
    EXPECT_EQ(poly.eclate(&pieces.array, 0), 3);
    EXPECT_EQ(xs(*pieces[0]), (std::vector<double>{0, 1}));
    EXPECT_EQ(xs(*pieces[1]), (std::vector<double>{2, 3}));
    EXPECT_EQ(xs(*pieces[2]), (std::vector<double>{4, 5}));
    EXPECT_EQ(pieces[1]->m_Scratch, 0x0102);
    EXPECT_EQ(pieces[2]->m_Scratch, 3);
    EXPECT_EQ(std::int64_t(pieces[2]->T()->tag), 6);
    EXPECT_EQ(int(pieces[0]->T()->tef1), 0);
    EXPECT_EQ(poly.GetCount(), 6); // the source is left as it was
    EXPECT_EQ(int(poly.H(1)->tef1), 2);
}

TEST_F(Splitting, AnInnerRingBecomesAClosedPiece) {
    // An outer square, then from (0, 0) a ring round (2..3, 2..3), then back along the outline.
    appendAll(poly, {{0, 0, 0}, {0, 5, 0}, {5, 5, 0}, {5, 0, 0}, {0, 0, 0}});
    poly.T()->tef1 = 6;
    appendAll(poly, {{2, 2, 0}, {2, 3, 0}, {3, 3, 0}, {3, 2, 0}, {2, 2, 0}, {0, 0, 0}});
    EXPECT_EQ(poly.eclate(&pieces.array, 0), 2);
    EXPECT_EQ(pieces[0]->GetCount(), 4);
    EXPECT_TRUE(pieces[0]->f70() & 1);
    EXPECT_EQ(pieces[1]->GetCount(), 4);
    EXPECT_TRUE(pieces[1]->f70() & 1);
    EXPECT_DOUBLE_EQ(point(pieces[1]->H()).x, 2);
}

TEST_F(Splitting, RingsThatFollowOneAnotherEachBecomeAPieceAndTheOutlineClosesWhereItStarts) {
    // The layout of a hatch's loops: each ring opened by the closing point of the one before, no way back.
    appendAll(poly, {{0, 0, 0}, {0, 9, 0}, {9, 9, 0}, {9, 0, 0}, {0, 0, 0}});
    poly.T()->tef1 = 6;
    appendAll(poly, {{1, 1, 0}, {1, 2, 0}, {2, 2, 0}, {2, 1, 0}, {1, 1, 0}});
    poly.T()->tef1 = 6;
    appendAll(poly, {{5, 5, 0}, {5, 7, 0}, {7, 7, 0}, {5, 5, 0}});
    ASSERT_EQ(poly.eclate(&pieces.array, 0), 3);
    EXPECT_EQ(xs(*pieces[0]), (std::vector<double>{0, 0, 9, 9}));
    EXPECT_EQ(xs(*pieces[1]), (std::vector<double>{1, 1, 2, 2}));
    EXPECT_EQ(xs(*pieces[2]), (std::vector<double>{5, 5, 7}));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(pieces[i]->f70() & 1) << "piece " << i;
}

TEST_F(Splitting, ACodedRingEndFollowedByTheWayBackStartsNoFurtherRing) {
    // A ring from the outline's second corner, then back there and on round the outline.
    appendAll(poly, {{0, 0, 0}, {0, 9, 0}});
    poly.T()->tef1 = 6;
    appendAll(poly, {{1, 1, 0}, {1, 2, 0}, {2, 2, 0}, {1, 1, 0}});
    poly.T()->tef1 = 6;
    appendAll(poly, {{0, 9, 0}, {9, 9, 0}, {9, 0, 0}, {0, 0, 0}});
    ASSERT_EQ(poly.eclate(&pieces.array, 0), 2);
    EXPECT_EQ(xs(*pieces[0]), (std::vector<double>{0, 0, 9, 9}));
    EXPECT_TRUE(pieces[0]->f70() & 1);
    EXPECT_EQ(xs(*pieces[1]), (std::vector<double>{1, 1, 2}));
}

TEST_F(Splitting, AnInnerRingLongerThanItsOutlineKeepsBothCountsTrue) {
    // Twenty vertices round (25, 25) inside a square of four: the outline on both sides of the ring is the
    // shorter part of the cut.
    appendAll(poly, {{0, 0, 0}, {0, 50, 0}, {50, 50, 0}, {50, 0, 0}, {0, 0, 0}});
    poly.T()->tef1 = 6;
    for (int i = 0; i <= 20; ++i) {
        const double a = 2 * std::numbers::pi * (i % 20) / 20;
        append(poly, {25 + 10 * std::cos(a), 25 + 10 * std::sin(a), 0});
    }
    append(poly, {0, 0, 0});
    ASSERT_EQ(poly.eclate(&pieces.array, 0), 2);
    EXPECT_EQ(xs(*pieces[0]), (std::vector<double>{0, 0, 50, 50}));
    EXPECT_EQ(pieces[0]->GetCount(0), 4); // counted along the chain
    EXPECT_EQ(pieces[1]->GetCount(), 20);
    EXPECT_EQ(pieces[1]->GetCount(0), 20);
    EXPECT_TRUE(pieces[1]->f70() & 1);
}

TEST_F(Splitting, LoopsComeOutWithModeTwoAndOtherLinetypesStayWhole) {
    appendAll(poly,
              {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {6, 4, 0}, {6, 6, 0}, {4, 6, 0}, {4, 4, 0}, {4, 10, 0}});
    EXPECT_EQ(poly.eclate(&pieces.array, 2), 2);
    EXPECT_EQ(xs(*pieces[0]), (std::vector<double>{0, 4, 4, 4}));
    EXPECT_EQ(pieces[1]->GetCount(), 4); // the loop, closed
    EXPECT_TRUE(pieces[1]->f70() & 1);
    OwnedPieces whole;
    poly.setLinetype(L"CONTINUOUS");
    EXPECT_EQ(poly.eclate(&whole.array, 1 | 2), 1);
    EXPECT_EQ(whole[0]->GetCount(), 8);
}

// Each loop is the run from a vertex to the first later vertex (two steps on at least) that meets it within
// the meeting distance in plan; a loop inside a loop stays in it, and segments that cross between vertices do
// not cut.
TEST_F(Splitting, LoopsAreCutAtTheFirstLaterVertexThatMeetsTheirStart) {
    const double near = 0.9 * eclate_rules::meetingDistance();
    const double far = 1.1 * eclate_rules::meetingDistance();
    appendAll(poly,
              {{0, 0, 0},
               {10, 0, 0}, // 2: starts the outer loop
               {10, 5, 0}, // 3: starts the inner loop
               {12, 5, 0},
               {12, 7, 0},
               {10, 7, 0},
               {10, 5, 0},           // 7: closes the inner loop, kept inside the outer one
               {10 + near, near, 0}, // 8: closes the outer loop, diagonally within the distance
               {20, 0, 0},           // 9
               {30, 5, 0},           // 10..13: segments crossing each other between vertices
               {30, -5, 0},
               {22, 5, 0},
               {22, -5, 0},
               {40, 0, 0},            // 14
               {20 + far, 0, 0},      // 15: just beyond 9
               {40 - near / 2, 0, 3}, // 16: meets 14 in plan whatever its height, across a cell of the grid
               {50, 0, 0},            // 17: ends on a vertex that meets it again at 19
               {50, 3, 0},
               {50, -near / 2, 0}}); // 19: meets 17 across a cell of the grid
    const auto tags = [](const CPolyArc3D& piece) {
        std::vector<std::int64_t> t;
        for (const P_Vertex* v = piece.H(); v; v = v->pVN)
            t.push_back(std::int64_t(v->tag));
        return t;
    };
    poly.H(7)->tef1 = 1;
    ASSERT_EQ(poly.eclate(&pieces.array, 2), 4);
    // A loop ends on a copy of its closing vertex. Where that copy lies within the round meeting distance
    // of the start, the loop comes out closed without it; the diagonal one of the outer loop does not.
    EXPECT_EQ(tags(*pieces[0]), (std::vector<std::int64_t>{1, 8, 9, 10, 11, 12, 13, 16, 19}));
    EXPECT_EQ(tags(*pieces[1]), (std::vector<std::int64_t>{2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(pieces[1]->m_Scratch, 1);
    EXPECT_EQ(tags(*pieces[2]), (std::vector<std::int64_t>{14, 15}));
    EXPECT_EQ(tags(*pieces[3]), (std::vector<std::int64_t>{17, 18}));
    EXPECT_FALSE(pieces[0]->f70() & 1);
    EXPECT_FALSE(pieces[1]->f70() & 1);
    EXPECT_TRUE(pieces[2]->f70() & 1);
    EXPECT_TRUE(pieces[3]->f70() & 1);
}

TEST_F(Splitting, AThousandLoopsComeOutInOrderAfterTheLineTheyHangFrom) {
    // Along x, every station sends out a small square loop that comes back to its start; the crossings of
    // its neighbours' loops do not count, only the return.
    constexpr int kLoops = 1000;
    for (int s = 0; s < kLoops; ++s) {
        const double x = 2.0 * s;
        appendAll(poly, {{x, 0, 0}, {x + 1, 0, 0}, {x + 1, 1.5, 0}, {x + 3.5, 1.5, 0}, {x + 3.5, -1, 0}});
        append(poly, {x + 1, 0, 0}, {.tef1 = static_cast<signed char>(s % 2), .tef2 = 0});
    }
    ASSERT_EQ(poly.eclate(&pieces.array, 2), 1 + kLoops);
    std::vector<std::int64_t> line;
    for (const P_Vertex* v = pieces[0]->H(); v; v = v->pVN)
        line.push_back(std::int64_t(v->tag));
    ASSERT_EQ(line.size(), 2u * kLoops);
    for (int s = 0; s < kLoops; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(line[2 * s], 6 * s + 1);
        EXPECT_EQ(line[2 * s + 1], 6 * s + 6);
        const CPolyArc3D& loop = *pieces[1 + s];
        ASSERT_EQ(loop.GetCount(), 4);
        EXPECT_EQ(std::int64_t(loop.H()->tag), 6 * s + 2);
        EXPECT_EQ(std::int64_t(loop.T()->tag), 6 * s + 5);
        EXPECT_EQ(loop.m_Scratch, s % 2);
    }
}

TEST_F(Splitting, ManyBreaksGiveEveryPieceItsRunCodeAndCount) {
    // 900 vertices along x, a break closing every ninth: a hundred pieces of nine, in order, each carrying
    // the code of the break before it; the break on the last vertex leaves nothing after it.
    constexpr int kPieces = 100;
    constexpr int kRun = 9;
    for (int i = 0; i < kPieces * kRun; ++i)
        append(poly, {double(i), 0, 0},
               {.tef1 = static_cast<signed char>(i % kRun == kRun - 1 ? 2 + i / kRun % 2 : 0)});
    for (int k = 0; k < kPieces; ++k)
        poly.H(k * kRun + kRun - 1)->tef2 = static_cast<signed char>(k % 5);
    ASSERT_EQ(poly.eclate(&pieces.array, 0), kPieces);
    for (int k = 0; k < kPieces; ++k) {
        SCOPED_TRACE(k);
        CPolyArc3D& piece = *pieces[k];
        std::vector<double> expected;
        for (int i = 0; i < kRun; ++i)
            expected.push_back(k * kRun + i);
        EXPECT_EQ(xs(piece), expected);
        EXPECT_EQ(piece.GetCount(), kRun);
        EXPECT_EQ(std::int64_t(piece.H()->tag), k * kRun + 1);
        EXPECT_EQ(int(piece.T()->tef1), 0);
        EXPECT_FALSE(piece.f70() & 1);
        if (k > 0) {
            EXPECT_EQ(piece.m_Scratch, (k - 1) % 5 << 8 | (2 + (k - 1) % 2));
        }
    }
    EXPECT_EQ(poly.GetCount(), kPieces * kRun);
}

TEST(Cutting, AtAVertexOfAnOpenPolyline) {
    PolyArc3D poly;
    appendAll(poly, {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}});
    std::unique_ptr<CPolyArc3D> rest(poly.coupe(poly.H(2), nullptr, 0));
    ASSERT_TRUE(rest);
    EXPECT_EQ(xs(poly), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(xs(*rest), (std::vector<double>{3, 4, 5}));
    EXPECT_NE(rest->H(), poly.T());
}

TEST(Cutting, BetweenTwoVerticesTheSegmentsBetweenGo) {
    PolyArc3D poly;
    appendAll(poly, {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}, {6, 0, 0}});
    std::unique_ptr<CPolyArc3D> rest(poly.coupe(poly.H(4), poly.H(1), 0));
    EXPECT_EQ(xs(poly), (std::vector<double>{1, 2}));
    EXPECT_EQ(xs(*rest), (std::vector<double>{5, 6}));
    // Nothing left after the cut: no new polyline.
    EXPECT_EQ(poly.coupe(poly.T(), nullptr, 0), nullptr);
    EXPECT_EQ(poly.coupe(nullptr, nullptr, 0), nullptr);
    PolyArc3D other;
    appendAll(other, {{0, 0, 0}, {1, 0, 0}});
    EXPECT_EQ(poly.coupe(other.H(), nullptr, 0), nullptr);
}

TEST(Cutting, AClosedRing) {
    const auto ring = [](CPolyArc3D& poly) {
        appendAll(poly, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}});
        poly.f70(1);
    };
    // Opened at the cut, re-rooted there.
    PolyArc3D opened;
    ring(opened);
    EXPECT_EQ(opened.coupe(opened.H(2), nullptr, 1), nullptr);
    EXPECT_EQ(xs(opened), (std::vector<double>{2, 2, 0, 0, 1, 2}));
    EXPECT_FALSE(opened.f70() & 1);
    // Cut in two at the head.
    PolyArc3D two;
    ring(two);
    std::unique_ptr<CPolyArc3D> rest(two.coupe(two.H(1), two.H(3), 0));
    EXPECT_EQ(xs(two), (std::vector<double>{0, 1}));
    EXPECT_EQ(xs(*rest), (std::vector<double>{2, 0, 0}));
    // A cut across the head leaves one open stretch.
    PolyArc3D across;
    ring(across);
    EXPECT_EQ(across.coupe(across.H(3), across.H(1), 0), nullptr);
    EXPECT_EQ(xs(across), (std::vector<double>{1, 2, 2}));
    EXPECT_FALSE(across.f70() & 1);
}

} // namespace
