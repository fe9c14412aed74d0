// Intersections of the polyline with host entities and with other polylines, against the host's own on the
// same geometry, and the points the requests of each side learn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "entity/snaps/osnap_request.h"
#include "geometry/arcs/arc3d.h"
#include "host/db/symbol_tables.h"
#include "host/entities/circle_arc.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/point_ray_face.h"
#include "host/entities/polylines.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/host_test_support.h"

using poly_test::append;
using poly_test::appendAll;

namespace {

struct Intersections : ::testing::Test {
    poly_test::RegisteredClasses classes;
    PolyArc3D poly;
    AcDbPolyline twin; // the same geometry as a host polyline

    Intersections() {
        OsnapRequest::createRegistry();
        append(poly, {0, 0, 0});
        append(poly, {10, 0, 0}, {.bulge = 1});
        append(poly, {20, 0, 0});
        append(poly, {20, 10, 0});
        twin.addVertexAt(0, {0, 0});
        twin.addVertexAt(1, {10, 0}, 1);
        twin.addVertexAt(2, {20, 0});
        twin.addVertexAt(3, {20, 10});
    }
    ~Intersections() override { OsnapRequest::destroyRegistry(); }
};

std::vector<AcGePoint3d> sorted(const AcGePoint3dArray& points) {
    std::vector<AcGePoint3d> v(points.begin(), points.end());
    std::sort(v.begin(), v.end(),
              [](const AcGePoint3d& a, const AcGePoint3d& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    return v;
}

void expectSamePoints(const AcGePoint3dArray& a, const AcGePoint3dArray& b) {
    const std::vector<AcGePoint3d> x = sorted(a), y = sorted(b);
    ASSERT_EQ(x.size(), y.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        EXPECT_NEAR(x[i].distanceTo(y[i]), 0, 1e-9) << i;
}

TEST_F(Intersections, HostEntitiesMeetItWhereTheyMeetTheSameHostPolylineInBothOrders) {
    AcDbLine line({5, -10, 0}, {18, 20, 0});
    AcDbCircle circle({10, 0, 0}, AcGeVector3d::kZAxis, 4);
    AcDbArc arc({2, 0, 0}, 3, 0, 3);
    for (const AcDbEntity* other :
         {static_cast<const AcDbEntity*>(&line), static_cast<const AcDbEntity*>(&circle),
          static_cast<const AcDbEntity*>(&arc)}) {
        AcGePoint3dArray ours, host, swapped;
        ASSERT_EQ(poly.intersectWith(other, AcDb::kOnBothOperands, ours), Acad::eOk);
        ASSERT_EQ(twin.intersectWith(other, AcDb::kOnBothOperands, host), Acad::eOk);
        ASSERT_EQ(other->intersectWith(&poly, AcDb::kOnBothOperands, swapped), Acad::eOk);
        EXPECT_FALSE(ours.isEmpty()) << other->isA()->name();
        expectSamePoints(ours, host);
        expectSamePoints(swapped, host);
    }
}

// Host polylines and faces are met through a polyline made from them, wherever they cross this one's lines
// and arcs, in the plan view.
TEST_F(Intersections, HostPolylinesAndFacesMeetItWhereTheirSidesCrossIt) {
    AcDbPolyline hook;
    const AcGePoint2d hookPoints[] = {{5, -3}, {5, 3}, {15, 3}, {15, -8}};
    for (unsigned int i = 0; i < 4; ++i)
        hook.addVertexAt(i, hookPoints[i]);
    AcGePoint3dArray raised;
    raised.append({12, -10, 4});
    raised.append({12, 10, 4});
    AcDb3dPolyline steep(AcDb::k3dSimplePoly, raised);
    AcDbFace square({18, -2, 0}, {22, -2, 0}, {22, 2, 0}, {18, 2, 0});
    const double onArc = 15 + std::sqrt(21.0); // the arc (x - 15)² + y² = 25 at y = -2
    struct Case {
        const AcDbEntity* other;
        std::vector<AcGePoint3d> expected;
    };
    const Case cases[] = {
        {&hook, {{5, 0, 0}, {15, -5, 0}}}, {&steep, {{12, -4, 0}}}, {&square, {{onArc, -2, 0}, {20, 2, 0}}}};
    for (const Case& c : cases) {
        AcGePoint3dArray ours;
        ASSERT_EQ(poly.intersectWith(c.other, AcDb::kOnBothOperands, ours), Acad::eOk);
        const std::vector<AcGePoint3d> found = sorted(ours);
        ASSERT_EQ(found.size(), c.expected.size()) << c.other->isA()->name();
        for (std::size_t i = 0; i < found.size(); ++i)
            EXPECT_NEAR(found[i].convert2d().distanceTo(c.expected[i].convert2d()), 0, 1e-9)
                << c.other->isA()->name() << " " << i;
    }
    // The host polylines ask this one in turn.
    for (const AcDbEntity* host :
         {static_cast<const AcDbEntity*>(&hook), static_cast<const AcDbEntity*>(&steep)}) {
        AcGePoint3dArray ours, swapped;
        ASSERT_EQ(poly.intersectWith(host, AcDb::kOnBothOperands, ours), Acad::eOk);
        ASSERT_EQ(host->intersectWith(&poly, AcDb::kOnBothOperands, swapped), Acad::eOk);
        expectSamePoints(swapped, ours);
    }
}

TEST_F(Intersections, ExtendTypesReachBeyondTheEnds) {
    AcDbLine line({-5, 5, 0}, {-1, 5, 0});
    AcGePoint3dArray none, extended;
    ASSERT_EQ(poly.intersectWith(&line, AcDb::kOnBothOperands, none), Acad::eOk);
    EXPECT_TRUE(none.isEmpty());
    ASSERT_EQ(poly.intersectWith(&line, AcDb::kExtendArg, extended), Acad::eOk);
    ASSERT_EQ(extended.length(), 1);
    EXPECT_NEAR(extended[0].distanceTo(AcGePoint3d(20, 5, 0)), 0, 1e-9);
}

TEST_F(Intersections, ARayReachesPastTenThousandUnits) {
    PolyArc3D far;
    appendAll(far, {{20000, -5, 0}, {20000, 5, 0}});
    AcDbRay ray;
    ray.setBasePoint({0, 0, 0});
    ray.setUnitDir({1, 0, 0});
    AcGePoint3dArray points;
    ASSERT_EQ(far.intersectWith(&ray, AcDb::kOnBothOperands, points), Acad::eOk);
    ASSERT_EQ(points.length(), 1);
    EXPECT_NEAR(points[0].distanceTo(AcGePoint3d(20000, 0, 0)), 0, 1e-9);
}

TEST_F(Intersections, MarkersPickOneSegmentAndRequestsHearOnlyTheirSide) {
    PolyArc3D cross;
    appendAll(cross, {{5, -3, 0}, {5, 3, 0}, {25, 3, 0}});
    OsnapRequest mine(&poly), theirs(&cross);
    AcGePoint3dArray all, first;
    ASSERT_EQ(poly.intersectWith(&cross, AcDb::kOnBothOperands, all), Acad::eOk);
    ASSERT_EQ(poly.intersectWith(&cross, AcDb::kOnBothOperands, first, 1, 1), Acad::eOk);
    EXPECT_EQ(all.length(), 2);
    ASSERT_EQ(first.length(), 1);
    EXPECT_NEAR(first[0].distanceTo(AcGePoint3d(5, 0, 0)), 0, 1e-12);
    EXPECT_EQ(mine.m_count, 3);
    EXPECT_EQ(theirs.m_count, 3);
    EXPECT_EQ(mine.m_bestMode, OsnapRequest::kIntersectionCode);

    // The other side extended: the point beyond its end goes to this side's request alone.
    mine.Reset();
    theirs.Reset();
    AcGePoint3dArray beyond;
    PolyArc3D shortLine;
    appendAll(shortLine, {{5, 2, 0}, {5, 1, 0}});
    OsnapRequest shortRequest(&shortLine);
    ASSERT_EQ(poly.intersectWith(&shortLine, AcDb::kExtendArg, beyond), Acad::eOk);
    ASSERT_EQ(beyond.length(), 1);
    EXPECT_EQ(mine.m_count, 1);
    EXPECT_EQ(shortRequest.m_count, 0);
}

TEST_F(Intersections, AnErasedEntityIsRefused) {
    host::test::WorkingDatabase drawing;
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(acdbOpenObject(model, drawing.db->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    auto* line = new AcDbLine({5, -10, 0}, {5, 10, 0});
    ASSERT_EQ(model->appendAcDbEntity(line), Acad::eOk);
    model->close();
    ASSERT_EQ(line->erase(), Acad::eOk);
    AcGePoint3dArray points;
    EXPECT_EQ(poly.intersectWith(line, AcDb::kOnBothOperands, points), Acad::eWasErased);
    EXPECT_TRUE(points.isEmpty());
    line->close();
}

TEST_F(Intersections, NullAndItselfAnswerTheirStatus) {
    AcGePoint3dArray points;
    EXPECT_EQ(poly.intersectWith(nullptr, AcDb::kOnBothOperands, points), Acad::eOk);
    EXPECT_TRUE(points.isEmpty());
    // Meeting itself, neighbouring segments share their vertices.
    ASSERT_EQ(poly.intersectWith(&poly, AcDb::kOnBothOperands, points), Acad::eOk);
    for (const AcGePoint3d& p : points)
        EXPECT_TRUE(p.isEqualTo({10, 0, 0}, AcGeTol()) || p.isEqualTo({20, 0, 0}, AcGeTol()) ||
                    p.distanceTo({20, 0, 0}) < 1e-9 || p.distanceTo({10, 0, 0}) < 1e-9);
}

// Every pair of segments tried in order, as the points of two bounded polylines are defined.
std::vector<CPoint3d> pairwise(const CPolyArc3D& first, const CPolyArc3D& second) {
    std::vector<CPoint3d> points;
    for (const P_Vertex* v = first.H(); v && v->pVN; v = v->pVN)
        for (const P_Vertex* w = second.H(); w && w->pVN; w = w->pVN) {
            CArc3d a(v, v->pVN->pt), b(w, w->pVN->pt);
            char codes[2] = {1, 1};
            CPoint3d found[2];
            CPoint3d* out = found;
            const int count = a.intersectWith(&b, out, codes);
            points.insert(points.end(), found, found + count);
        }
    return points;
}

// Vertices on a coarse grid so that segments touch, overlap and end on each other; one in three an arc, some
// beyond a half circle.
void randomPolyline(CPolyArc3D& poly, std::mt19937& rng, int vertices) {
    std::uniform_int_distribution<int> coordinate(0, 40);
    std::uniform_int_distribution<int> bulge(-30, 30);
    for (int i = 0; i < vertices; ++i)
        append(poly, {coordinate(rng) * 0.5, coordinate(rng) * 0.5, 0},
               {.bulge = i % 3 ? 0.0 : bulge(rng) / 20.0});
}

TEST_F(Intersections, TwoPolylinesMeetAtThePointsOfEveryPairInOrder) {
    std::mt19937 rng(43);
    for (int round = 0; round < 40; ++round) {
        PolyArc3D first, second;
        randomPolyline(first, rng, 40 + round);
        randomPolyline(second, rng, 60 - round);
        AcGePoint3dArray points;
        ASSERT_EQ(first.intersectWith(&second, AcDb::kOnBothOperands, points), Acad::eOk);
        const std::vector<CPoint3d> expected = pairwise(first, second);
        ASSERT_EQ(static_cast<std::size_t>(points.length()), expected.size()) << round;
        for (std::size_t k = 0; k < expected.size(); ++k) {
            const AcGePoint3d& p = points[static_cast<int>(k)];
            ASSERT_TRUE(p.x == expected[k].x && p.y == expected[k].y && p.z == expected[k].z)
                << round << " " << k;
        }
    }
}

} // namespace
