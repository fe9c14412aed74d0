// Every measuring and editing operation on polylines it cannot work on: empty, a single vertex, a non-finite
// coordinate or an absurd bulge answer the operation's failure value and leave the polyline as it was;
// zero-length segments give finite results.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>

#include "entity/editing/eclate_result.h"
#include "geometry/points/angle_units.h"
#include "host/db/database.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/host_test_support.h"
#include "tests/services/recording_screens.h"

using poly_test::append;
using poly_test::appendAll;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Operation {
    const char* name;
    std::function<double(CPolyArc3D&)> run;
    // The answers for an empty polyline, a single vertex and unsound geometry.
    double empty;
    double single;
    double unsound;
};

double answered(const void* p) {
    return p ? 1 : 0;
}

const std::vector<Operation>& operations() {
    static const std::vector<Operation> all = {
        {"ptAtPoint",
         [](CPolyArc3D& p) {
             CPoint3d near(1, 1, 0);
             return answered(p.ptAtPoint(nullptr, &near, 0.1, 2, nullptr, nullptr, nullptr, nullptr));
         },
         0, 0, 0},
        {"ptAtDist", [](CPolyArc3D& p) { return answered(p.ptAtDist(nullptr, 0.5, 0, 2, nullptr, nullptr)); },
         0, 1, 0},
        {"getLen", [](CPolyArc3D& p) { return p.getLen(1, 1, 0, nullptr); }, 0, 0, 0},
        {"getLenAtVertex", [](CPolyArc3D& p) { return p.getLenAtVertex(nullptr, 0, nullptr); }, 0, 0, 0},
        {"getArea", [](CPolyArc3D& p) { return p.getArea(nullptr); }, 0, 0, 0},
        {"isInside", [](CPolyArc3D& p) { return double(p.isInside(CPoint3d(0.5, 0.5, 0), 9)); }, -2, -2, -2},
        {"epolyz", [](CPolyArc3D& p) { return double(p.epolyz(kNaN, kNaN)); }, -2, 0, -2},
        {"edivarc", [](CPolyArc3D& p) { return double(p.edivarc(0.001)); }, 0, 0, 0},
        {"topts",
         [](CPolyArc3D& p) {
             AcGePoint3dArray points;
             return double(p.topts(points, 0.001));
         },
         0, 1, 0},
        {"EDelParc", [](CPolyArc3D& p) { return double(p.EDelParc(1, 16, nullptr, nullptr)); }, -1, 0, -1},
        {"decale",
         [](CPolyArc3D& p) {
             std::unique_ptr<CPolyArc3D> offset(p.decale(1, 0, 0, 0));
             return answered(offset.get());
         },
         0, 0, 0},
        {"joind",
         [](CPolyArc3D& p) {
             PolyArc3D item;
             appendAll(item, {{50, 50, 0}, {60, 60, 0}});
             CPtrArray items;
             items.Add(static_cast<AcDbEntity*>(&item));
             return double(CPolyArc3D::joind(&p, items, 0, _ecpt, nullptr));
         },
         0, 0, 0},
        {"eclate",
         [](CPolyArc3D& p) {
             OwnedPieces pieces;
             return double(p.eclate(&pieces.array, 2));
         },
         0, 0, 0},
        {"coupe",
         [](CPolyArc3D& p) {
             std::unique_ptr<CPolyArc3D> rest(p.coupe(p.H(), nullptr, 0));
             return answered(rest.get());
         },
         0, 0, 0},
        {"majVertex", [](CPolyArc3D& p) { return double(p.majVertex(nullptr, nullptr)); }, 0, 1, 0},
        {"maj", [](CPolyArc3D& p) { return double(p.maj(7, 0, 0)); }, -1, -1, -1},
        {"EpurePts", [](CPolyArc3D& p) { return double(p.EpurePts(1, 1, 1, 0, 0)); }, 0, 0, 0},
        {"lisse", [](CPolyArc3D& p) { return double(p.lisse(nullptr, nullptr, -1000, -1000)); }, -1, -1, -1},
        {"eSquare", [](CPolyArc3D& p) { return double(p.eSquare(0, 0, nullptr, nullptr)); }, 0, 0, 0},
        {"einvsens", [](CPolyArc3D& p) { return double(p.einvsens(0, nullptr, nullptr)); }, 0, 0, 0},
    };
    return all;
}

// A polyline that the operation runs on, and an untouched twin to compare it with.
struct Twins {
    explicit Twins(const std::function<void(CPolyArc3D&)>& fill) {
        fill(poly);
        fill(reference);
    }
    PolyArc3D poly;
    PolyArc3D reference;
};

struct BadInput : ::testing::Test {
    poly_test::RegisteredClasses classes;
    testing_support::RecordingScreens screens; // no message is printed: nothing fails
};

// Every field bit for bit, so that a NaN equals itself.
void expectUnchanged(const CPolyArc3D& poly, const CPolyArc3D& reference, const char* operation) {
    ASSERT_EQ(poly.GetCount(), reference.GetCount()) << operation;
    EXPECT_EQ(poly.f70(), reference.f70()) << operation;
    for (const P_Vertex *v = poly.H(), *r = reference.H(); v && r; v = v->pVN, r = r->pVN) {
        P_Vertex a = *v;
        P_Vertex b = *r;
        a.pVB = a.pVN = b.pVB = b.pVN = nullptr;
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << operation;
    }
}

void expectRefused(const std::function<void(CPolyArc3D&)>& fill, double Operation::*expected) {
    for (const Operation& operation : operations()) {
        Twins twins(fill);
        EXPECT_EQ(operation.run(twins.poly), operation.*expected) << operation.name;
        expectUnchanged(twins.poly, twins.reference, operation.name);
    }
}

TEST_F(BadInput, AnEmptyPolyline) {
    expectRefused([](CPolyArc3D&) {}, &Operation::empty);
    EXPECT_EQ(screens.local.printed + screens.global.printed, "");
}

TEST_F(BadInput, ASingleVertex) {
    expectRefused([](CPolyArc3D& p) { appendAll(p, {{1, 1, 5}}); }, &Operation::single);
}

TEST_F(BadInput, ANonFiniteCoordinate) {
    for (double bad : {kNaN, std::numeric_limits<double>::infinity()}) {
        expectRefused(
            [bad](CPolyArc3D& p) {
                appendAll(p, {{0, 0, 1}, {1, bad, 1}, {1, 1, 1}, {0, 1, 1}});
            },
            &Operation::unsound);
        // On the last vertex of an open polyline: the end of every walk.
        expectRefused(
            [bad](CPolyArc3D& p) {
                appendAll(p, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, bad}});
            },
            &Operation::unsound);
    }
}

TEST_F(BadInput, AnAbsurdBulge) {
    for (double bulge : {1e9, -1e9, kNaN}) {
        expectRefused(
            [bulge](CPolyArc3D& p) {
                append(p, {0, 0, 1}, {.bulge = bulge});
                appendAll(p, {{1, 0, 1}, {1, 1, 1}, {0, 1, 1}});
            },
            &Operation::unsound);
    }
}

TEST_F(BadInput, ZeroLengthSegmentsGiveFiniteResults) {
    for (const Operation& operation : operations()) {
        PolyArc3D poly;
        append(poly, {0, 0, 1}, {.bulge = 0.5});
        append(poly, {0, 0, 1}, {.bulge = 0.5});
        append(poly, {1, 0, 0}, {.flags = 1});
        append(poly, {1, 0, 0});
        append(poly, {1, 1, 2}, {.flags = 1});
        append(poly, {1, 1, 2});
        append(poly, {0, 1, 2});
        poly.f70(1);
        EXPECT_TRUE(std::isfinite(operation.run(poly))) << operation.name;
        EXPECT_TRUE(poly.hasSoundVertices()) << operation.name;
        EXPECT_GE(poly.GetCount(), 1) << operation.name;
    }
}

TEST_F(BadInput, AFailureIsReportedAtTheOperation) {
    // A polyline of the drawing open for read only: changing it fails at the host's write check.
    host::test::WorkingDatabase working;
    auto* poly = new PolyArc3D;
    appendAll(*poly, {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}});
    AcDbObjectId id;
    ASSERT_EQ(working.db->addAcDbObject(id, poly), Acad::eOk);
    poly->close();
    CPolyArc3D* read = nullptr;
    ASSERT_EQ(acdbOpenObject(read, id, AcDb::kForRead), Acad::eOk);
    screens.global.open = true;
    EXPECT_EQ(read->lisse(nullptr, nullptr, -1000, -1000), 0);
    EXPECT_EQ(read->EDelParc(0, 16, nullptr, nullptr), -1);
    EXPECT_FALSE(read->einvsens(0, nullptr, nullptr));
    EXPECT_EQ(read->getLen(0, 0, 0, nullptr), 1 + std::sqrt(2.0)); // measuring needs no write access
    EXPECT_EQ(screens.global.printed, "\nProbleme de CPolyArc3D::lisse \nProbleme de CPolyArc3D::EDelParc "
                                      "\nProbleme de CPolyArc3D::einvsens ");
    EXPECT_EQ(read->GetCount(), 3);
    read->close();
}

} // namespace
