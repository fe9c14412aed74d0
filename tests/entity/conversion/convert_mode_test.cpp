// c_convert: the mode letter's choice of host polyline, and the entity placed in the drawing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/polylines.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/host_test_support.h"

using poly_test::append;

namespace {

struct ConvertMode : ::testing::Test {
    ConvertMode() {
        append(poly, {0, 0, 12.5}, {0.4});
        append(poly, {10, 0, 12.5});
        append(poly, {10, 10, 12.5});
    }
    // The class names of the model-space entities, in order.
    std::vector<std::wstring> modelSpace() {
        AcDbBlockTableRecord* model = nullptr;
        EXPECT_EQ(acdbOpenObject(model, working.db->modelSpaceId(), AcDb::kForRead), Acad::eOk);
        std::vector<std::wstring> names;
        for (AcDbObjectId id : model->entityIds()) {
            AcDbEntity* e = nullptr;
            if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
            names.emplace_back(e->isA()->name());
            e->close();
        }
        model->close();
        return names;
    }
    int convert(char mode) { return poly.c_convert(mode, nullptr, 1, nullptr, 0.01); }

    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
    PolyArc3D poly;
};

TEST_F(ConvertMode, AutomaticTakesThreeDimensionsOnlyForHeightsBeyondTheTolerance) {
    poly.T()->pt.z = 12.5 + 0.00005;
    EXPECT_EQ(convert('A'), 1);
    poly.T()->pt.z = 12.5 + 0.0002;
    EXPECT_EQ(convert('A'), 1);
    poly.T()->pt.z = 12.5;
    poly.f71(3);
    EXPECT_EQ(convert('A'), 1);
    EXPECT_EQ(modelSpace(),
              (std::vector<std::wstring>{L"AcDbPolyline", L"AcDb3dPolyline", L"AcDb3dPolyline"}));
}

TEST_F(ConvertMode, EachLetterGivesItsPolylineAndTheStoredModeChoosesForD) {
    EXPECT_EQ(convert('2'), 1);
    EXPECT_EQ(convert('3'), 1);
    EXPECT_EQ(convert('Q'), 1);
    poly.f71(2);
    EXPECT_EQ(convert('D'), 1);
    for (short stored : {0, 1, 5, 6, 7}) {
        poly.f71(stored);
        EXPECT_EQ(convert('D'), 0) << stored;
    }
    EXPECT_EQ(convert('E'), 0);
    EXPECT_EQ(convert('X'), 0);
    EXPECT_EQ(modelSpace(), (std::vector<std::wstring>{L"AcDb2dPolyline", L"AcDb3dPolyline", L"AcDbPolyline",
                                                       L"AcDbPolyline"}));
}

TEST_F(ConvertMode, NothingIsLeftInTheDrawingWhenNothingCanBeMade) {
    EXPECT_EQ(poly.c_convert('3', nullptr, 1, nullptr, 1e-12), 0);
    PolyArc3D single;
    append(single, {1, 1, 1});
    EXPECT_EQ(single.c_convert('L', nullptr, 1, nullptr, 0), 0);
    EXPECT_TRUE(modelSpace().empty());
}

} // namespace
