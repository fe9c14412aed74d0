// What the entity adds to the host's open, close, erase and saving to older formats, and the copy of a
// whole entity.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <utility>

#include "host/db/database.h"
#include "host/entities/polylines.h"
#include "platform/ui/keyboard.h"
#include "services/startup/shared_records.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/host_test_support.h"
#include "tests/services/recording_screens.h"

using poly_test::append;
using poly_test::appendAll;

namespace {

struct InDrawing : ::testing::Test {
    InDrawing() { screens.global.open = true; }
    ~InDrawing() override {
        SelectAcAdInputEnCours = 0;
        platform::setControlKeyDown(false);
    }

    AcDbObjectId add(CPolyArc3D* poly) {
        appendAll(*poly, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
        AcDbObjectId id;
        EXPECT_EQ(working.db->addAcDbObject(id, poly), Acad::eOk);
        poly->close();
        return id;
    }
    // Opens and closes the entity for read; what that printed.
    std::string openForRead(AcDbObjectId id) {
        screens.global.printed.clear();
        CPolyArc3D* poly = nullptr;
        EXPECT_EQ(acdbOpenObject(poly, id, AcDb::kForRead), Acad::eOk);
        poly->close();
        return screens.global.printed;
    }

    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
    testing_support::RecordingScreens screens;
};

TEST_F(InDrawing, ASelectionInProgressAnnouncesEachNewEntityOnce) {
    const AcDbObjectId a = add(new PolyArc3D);
    const AcDbObjectId b = add(new tavro_poly);
    EXPECT_EQ(openForRead(a), "");
    SelectAcAdInputEnCours = 1 | 8;
    EXPECT_EQ(openForRead(a), "\n ZORTAPOLY ByLayer plan 0 de 3 Sommets ");
    EXPECT_EQ(openForRead(a), "");
    EXPECT_EQ(openForRead(b), "\n TAVROPOLY ByLayer plan 0 de 3 Sommets ");
    EXPECT_EQ(openForRead(a), "\n ZORTAPOLY ByLayer plan 0 de 3 Sommets ");

    // Without bit 3 the Control key decides; a pause in the selection forgets the last one announced.
    SelectAcAdInputEnCours = 2;
    EXPECT_EQ(openForRead(a), "");
    platform::setControlKeyDown(true);
    EXPECT_EQ(openForRead(a), "\n ZORTAPOLY ByLayer plan 0 de 3 Sommets ");
    SelectAcAdInputEnCours = 8;
    EXPECT_EQ(openForRead(a), "");

    // Opens for write announce nothing.
    SelectAcAdInputEnCours = 1 | 8;
    CPolyArc3D* poly = nullptr;
    screens.global.printed.clear();
    ASSERT_EQ(acdbOpenObject(poly, b, AcDb::kForWrite), Acad::eOk);
    poly->close();
    EXPECT_EQ(screens.global.printed, "");
}

TEST_F(InDrawing, ClosingAfterAChangeClearsTheGeneratedBitOnTheEnds) {
    const AcDbObjectId id = add(new PolyArc3D);
    CPolyArc3D* poly = nullptr;
    ASSERT_EQ(acdbOpenObject(poly, id, AcDb::kForWrite), Acad::eOk);
    append(*poly, {2, 2, 0}, {.flags = 1});
    poly->H()->flags = 1;
    poly->close();
    ASSERT_EQ(acdbOpenObject(poly, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(short(poly->H()->flags), 0);
    EXPECT_EQ(short(poly->T()->flags), 0);
    poly->close();
}

TEST_F(InDrawing, ErasingIsAChangeRecordedForUndo) {
    const AcDbObjectId id = add(new PolyArc3D);
    CPolyArc3D* poly = nullptr;
    ASSERT_EQ(acdbOpenObject(poly, id, AcDb::kForWrite), Acad::eOk);
    poly->disableUndoRecording(true);
    working.db->beginUndoGroup();
    EXPECT_EQ(poly->erase(), Acad::eOk);
    EXPECT_FALSE(poly->isUndoRecordingDisabled());
    poly->close();
    working.db->endUndoGroup();
    EXPECT_TRUE(id.isErased());
    ASSERT_EQ(working.db->undoLastGroup(), Acad::eOk);
    EXPECT_FALSE(id.isErased());
}

TEST(CopyVertexFrom, TakesTheHeaderTheSystemTheLineweightAndEveryVertex) {
    PolyArc3D source;
    append(source, {1, 2, 3}, {0.5, 4, 6, 1, 100, 200, -3});
    append(source, {4, 5, 6});
    source.f70(9);
    source.f71(3);
    source.f39(1.5);
    source.f42(0.25);
    source.f43(0.125);
    source.setLineWeight(AcDb::kLnWt050);
    source.setSNormal(AcGeVector3d(0, 1, 0), 1);
    tavro_poly target;
    appendAll(target, {{7, 7, 7}, {8, 8, 8}, {9, 9, 9}});
    target.setSNormal(AcGeVector3d(1, 0, 0), 1);
    ASSERT_EQ(target.copyVertexFrom(&source), Acad::eOk);
    EXPECT_EQ(target.lineWeight(), AcDb::kLnWt050);
    EXPECT_EQ(target.kindWord(), CPolyArc3D::kTavroKind);
    EXPECT_EQ(target.f70(), 9);
    EXPECT_EQ(target.f42(), 0.25);
    EXPECT_EQ(target.Snormal(), source.Snormal());
    ASSERT_EQ(target.GetCount(), 2);
    poly_test::expectSameVertex(target.H(), source.H(), 0);
    poly_test::expectSameVertex(target.T(), source.T(), 1);

    // A source in the world system takes the target there too.
    PolyArc3D world;
    append(world, {1, 1, 1});
    ASSERT_EQ(target.copyVertexFrom(&world), Acad::eOk);
    EXPECT_EQ(target.normalMatrix(), nullptr);
    EXPECT_EQ(CPoint3d(target.H()->pt), CPoint3d(1, 1, 1));

    EXPECT_EQ(target.copyVertexFrom(nullptr), Acad::eInvalidInput);
    EXPECT_EQ(target.copyVertexFrom(&target), Acad::eOk);
    EXPECT_EQ(target.GetCount(), 1);
}

TEST_F(InDrawing, ACopyIntoAnEntityOpenForReadIsReportedNotMade) {
    const AcDbObjectId id = add(new PolyArc3D);
    PolyArc3D source;
    append(source, {5, 5, 5});
    CPolyArc3D* poly = nullptr;
    ASSERT_EQ(acdbOpenObject(poly, id, AcDb::kForRead), Acad::eOk);
    screens.global.printed.clear();
    EXPECT_EQ(poly->copyVertexFrom(&source), Acad::eInvalidOpenState);
    EXPECT_EQ(screens.global.printed, "\nProbleme avec CPolyArc3D::copyVertexFrom()");
    EXPECT_EQ(poly->GetCount(), 3);
    poly->close();
}

} // namespace

// A polyline whose conversions tell which one was asked for.
class ConvertingPoly : public PolyArc3D {
public:
    AcDb2dPolyline* to2d(int, AcDbObjectId*) override {
        asked = '2';
        return new AcDb2dPolyline;
    }
    AcDb3dPolyline* to3d(int, double maxDeviation, AcDbObjectId*) override {
        asked = '3';
        deviation = maxDeviation;
        return new AcDb3dPolyline;
    }
    char asked = 0;
    double deviation = 0;
};

// What saving to `version` replaces the polyline with: '2', '3' or 0 for nothing.
char savedAs(ConvertingPoly& poly, AcDb::AcDbDwgVersion version = AcDb::kDHL_1013) {
    AcDbObject* replacement = nullptr;
    AcDbObjectId id;
    bool exchange = false;
    EXPECT_EQ(poly.decomposeForSave(version, replacement, id, exchange), Acad::eOk);
    std::unique_ptr<AcDbObject> owned(replacement);
    EXPECT_EQ(replacement != nullptr, poly.asked != 0);
    const bool expectedClass = poly.asked == '2'   ? AcDb2dPolyline::cast(replacement) != nullptr
                               : poly.asked == '3' ? AcDb3dPolyline::cast(replacement) != nullptr
                                                   : true;
    EXPECT_TRUE(expectedClass);
    return std::exchange(poly.asked, 0);
}

TEST(DecomposeForSave, OlderFormatsGetAFlatOrA3dHostPolyline) {
    ConvertingPoly poly;
    EXPECT_EQ(savedAs(poly), '2'); // no vertex: flat
    appendAll(poly, {{0, 0, 12.5}, {5, 0, 12.5}, {5, 5, 12.5}});
    EXPECT_EQ(savedAs(poly), '2');
    EXPECT_EQ(savedAs(poly, AcDb::kDHL_1009), '2');
    EXPECT_EQ(savedAs(poly, AcDb::kDHL_1014), 0);
    EXPECT_EQ(savedAs(poly, AcDb::kDHL_CURRENT), 0);
    poly.f71(3);
    EXPECT_EQ(savedAs(poly), '3');
    EXPECT_EQ(poly.deviation, 0.02);
    poly.f71(2);
    poly.f70(8);
    EXPECT_EQ(savedAs(poly), '3');
    poly.f70(0);
    poly.T()->pt.z = 12.5002;
    EXPECT_EQ(savedAs(poly), '3');
    poly.T()->pt.z = 12.50009;
    EXPECT_EQ(savedAs(poly), '2');
}

TEST(DecomposeForSave, OlderFormatsGetAHostPolylineUnlessTheConversionFails) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {1, 0, 9}});
    AcDbObject* replacement = nullptr;
    AcDbObjectId id;
    bool exchange = false;
    EXPECT_EQ(poly.decomposeForSave(AcDb::kDHL_1013, replacement, id, exchange), Acad::eOk);
    std::unique_ptr<AcDb3dPolyline> solid(AcDb3dPolyline::cast(replacement));
    ASSERT_TRUE(solid);
    AcGePoint3d end;
    ASSERT_EQ(solid->getPointAtParam(1, end), Acad::eOk);
    EXPECT_EQ(end, AcGePoint3d(1, 0, 9));

    // A coordinate that is not a number makes no host polyline: the entity is saved as it is.
    poly.T()->pt.z = std::numeric_limits<double>::quiet_NaN();
    replacement = nullptr;
    EXPECT_EQ(poly.decomposeForSave(AcDb::kDHL_1013, replacement, id, exchange), Acad::eOk);
    EXPECT_EQ(replacement, nullptr);
}
