// The closed bit, ends that meet, and the repair of a repeated closing vertex.
#include <gtest/gtest.h>

#include "tests/entity/poly_test_support.h"
#include "tests/host/host_test_support.h"

using poly_test::appendAll;

namespace {

TEST(Closing, ClosedByTheBitOrByEndsThatMeet) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {5, 0, 0}, {5, 5, 0}});
    EXPECT_FALSE(poly.isClosed());
    EXPECT_FALSE(poly.isClosed2D());
    poly.f70(1);
    EXPECT_TRUE(poly.isClosed());
    EXPECT_TRUE(poly.isClosed2D());
    poly.f70(0);
    appendAll(poly, {{0, 0, 2}});
    EXPECT_FALSE(poly.isClosed()); // exactly equal in space only
    EXPECT_TRUE(poly.isClosed2D());
    poly.T()->pt = CPoint3d(0, 0, 0);
    EXPECT_TRUE(poly.isClosed());

    PolyArc3D two;
    appendAll(two, {{0, 0, 0}, {0, 0, 0}});
    EXPECT_FALSE(two.isClosed());
    EXPECT_FALSE(two.isClosed2D());
}

TEST(Closing, ARepeatedLastVertexBecomesTheClosedBit) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {5, 0, 0}, {0.00005, 0, 0.00005}});
    EXPECT_EQ(poly.MajClosed(), 1);
    EXPECT_EQ(poly.GetCount(), 2);
    EXPECT_EQ(poly.f70() & 1, 1);

    PolyArc3D two;
    appendAll(two, {{0, 0, 0}, {0, 0, 0}});
    EXPECT_EQ(two.MajClosed(), 0);
    EXPECT_EQ(two.GetCount(), 2);

    // Meeting in plan only is no repeated vertex.
    PolyArc3D steep;
    appendAll(steep, {{0, 0, 0}, {5, 0, 0}, {0, 0, 3}});
    EXPECT_EQ(steep.MajClosed(), 0);
    EXPECT_EQ(steep.GetCount(), 3);
}

TEST(Closing, EndsNeverStayGenerated) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {5, 0, 0}, {5, 5, 0}});
    for (P_Vertex* v = poly.H(); v; v = v->pVN)
        v->flags = 3;
    poly.MajExtremite();
    EXPECT_EQ(short(poly.H()->flags), 2);
    EXPECT_EQ(short(poly.H(1)->flags), 3);
    EXPECT_EQ(short(poly.T()->flags), 2);
    poly.T()->flags = 3;
    poly.f70(1);
    poly.MajExtremite();
    EXPECT_EQ(short(poly.T()->flags), 3); // the tail of a closed entity is inside it
}

TEST(Closing, SettingAndClearingTheClosedState) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {5, 0, 0}, {5, 5, 0}, {0, 0, 0}});
    poly.setClosed(false);
    EXPECT_EQ(poly.GetCount(), 3); // the repeated vertex goes either way
    EXPECT_EQ(poly.f70() & 1, 0);
    poly.setClosed(true);
    EXPECT_EQ(poly.f70() & 1, 1);
    EXPECT_EQ(poly.GetCount(), 3);
    poly.setClosed(false);
    EXPECT_EQ(poly.f70() & 1, 0);
}

TEST(Closing, AnEntityOpenForReadIsRepairedAndStaysOpenForRead) {
    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
    auto* poly = new PolyArc3D;
    appendAll(*poly, {{0, 0, 0}, {5, 0, 0}, {5, 5, 0}, {0, 0, 0}});
    AcDbObjectId id;
    ASSERT_EQ(working.db->addAcDbObject(id, poly), Acad::eOk);
    poly->close();
    CPolyArc3D* read = nullptr;
    ASSERT_EQ(acdbOpenObject(read, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(read->MajClosed(), 1);
    EXPECT_EQ(read->GetCount(), 3);
    EXPECT_TRUE(read->isReadEnabled());
    EXPECT_FALSE(read->isWriteEnabled());
    read->close();
}

} // namespace
