// Polylines made from civil feature lines: their points at their heights, and the arcs found between them.
#include <gtest/gtest.h>

#include "cadutil/database/spaces.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/feature_line.h"
#include "host/filing/dxf_file.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/host_test_support.h"

using poly_test::bulges;

namespace {

struct FeatureLineSource : ::testing::Test {
    poly_test::RegisteredClasses classes;
    PolyArc3D poly;
};

AcDbFeatureLine* featureLine(std::initializer_list<std::pair<AcGePoint3d, double>> points) {
    auto* line = new AcDbFeatureLine;
    for (const auto& [point, bulge] : points)
        EXPECT_EQ(line->appendPoint(point, bulge), Acad::eOk);
    return line;
}

TEST_F(FeatureLineSource, PointsKeepTheirHeightsAndOnlyArcsThatStrayFromTheirChordsAreKept) {
    // An arc 2.5 off its chord, a straight stretch, and an arc 0.045 off its chord.
    std::unique_ptr<AcDbFeatureLine> line(
        featureLine({{{0, 0, 10}, 0.5}, {{10, 0, 12}, 0}, {{20, 5, 13}, 0.008}, {{30, 5, 15}, 0}}));
    ASSERT_EQ(poly.from(line.get(), 0), Acad::eOk);
    ASSERT_EQ(poly.GetCount(), 4);
    const CPoint3d expected[] = {{0, 0, 10}, {10, 0, 12}, {20, 5, 13}, {30, 5, 15}};
    int i = 0;
    for (const P_Vertex* v = poly.H(); v; v = v->pVN, ++i)
        EXPECT_TRUE((poly.WorldPoint(v) - expected[i]).dist3d() < 1e-12) << "vertex " << i;
    const std::vector<double> b = bulges(poly);
    EXPECT_NEAR(b[0], 0.5, 1e-5) << "the arc found through the middle of its chord";
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(b[2], 0) << "an arc within 0.05 of its chord is taken straight";
}

TEST_F(FeatureLineSource, AStretchCrossingAnotherSegmentsPerpendicularDoesNotBendIt) {
    // The first stretch crosses the perpendicular through the middle of the second, 4.17 from it.
    std::unique_ptr<AcDbFeatureLine> line(featureLine({{{6, 5, 0}, 0}, {{0, 0, 0}, 0}, {{10, 0, 0}, 0}}));
    ASSERT_EQ(poly.from(line.get(), 0), Acad::eOk);
    EXPECT_EQ(bulges(poly), (std::vector<double>{0, 0, 0}));
}

TEST_F(FeatureLineSource, AFeatureLineReadFromADrawingFileIsKnownByItsName) {
    host::test::WorkingDatabase written;
    AcDbObjectId id;
    AcDbFeatureLine* line = featureLine({{{0, 0, 3}, -0.25}, {{8, 2, 4}, 0}, {{8, 9, 5}, 0}});
    ASSERT_FALSE(appendEntityToSpace(id, line, 1, written.db.get()).isNull());
    line->close();
    const std::string file = host::writeDxf(*written.db);
    EXPECT_NE(file.find("AECC_FEATURE_LINE"), std::string::npos);

    AcDbDatabase back(false);
    ASSERT_EQ(host::readDxf(back, file), Acad::eOk) << back.lastFileError();
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(acdbOpenObject(model, back.modelSpaceId(), AcDb::kForRead), Acad::eOk);
    const std::vector<AcDbObjectId> ids = model->entityIds();
    model->close();
    ASSERT_EQ(ids.size(), 1u);
    AcDbEntity* read = nullptr;
    ASSERT_EQ(acdbOpenObject(read, ids[0], AcDb::kForRead), Acad::eOk);
    ASSERT_NE(AcDbFeatureLine::cast(read), nullptr);
    EXPECT_EQ(poly.from(read, 0), Acad::eOk);
    // A copy goes through the binary filer.
    std::unique_ptr<AcDbEntity> copy(AcDbEntity::cast(read->clone()));
    read->close();
    ASSERT_EQ(poly.GetCount(), 3);
    EXPECT_TRUE((poly.WorldPoint(poly.T()) - CPoint3d(8, 9, 5)).dist3d() < 1e-12);
    EXPECT_NEAR(bulges(poly)[0], -0.25, 1e-5);
    ASSERT_NE(copy, nullptr);
    PolyArc3D fromCopy;
    ASSERT_EQ(fromCopy.from(copy.get(), 0), Acad::eOk);
    poly_test::expectSamePolyline(poly, fromCopy);
}

} // namespace
