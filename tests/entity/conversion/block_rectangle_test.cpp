// The rectangle of a block reference: the block's extents placed as the reference places its block.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "entity/conversion/block_rectangle.h"
#include "entity/core/poly_classes.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/block_reference.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/host_test_support.h"
#include "tests/host/sample_drawing.h"

namespace {

struct BlockRectangle : ::testing::Test {
    BlockRectangle() { host::test::buildSampleDrawing(*working.db); }
    // The sample's reference to "ARBRE" (base point at the middle of its unit square), open for read.
    AcDbBlockReference* sampleReference() {
        AcDbBlockTableRecord* model = nullptr;
        EXPECT_EQ(acdbOpenObject(model, working.db->modelSpaceId(), AcDb::kForRead), Acad::eOk);
        AcDbBlockReference* found = nullptr;
        for (AcDbObjectId id : model->entityIds()) {
            AcDbEntity* e = nullptr;
            if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
            if ((found = AcDbBlockReference::cast(e))) break;
            e->close();
        }
        model->close();
        return found;
    }

    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
};

TEST_F(BlockRectangle, UnrotatedItCoversTheReferencesExtents) {
    AcDbBlockReference* sample = sampleReference();
    ASSERT_NE(sample, nullptr);
    AcDbBlockReference reference(AcGePoint3d(5, 6, 3), sample->blockTableRecord());
    sample->close();
    reference.setScaleFactors(AcGeScale3d(2, 3, 1));
    reference.setColorIndex(4);
    std::unique_ptr<PolyArc3D> rectangle(insertToZortapolyRect(&reference));
    ASSERT_NE(rectangle, nullptr);
    AcDbExtents covered;
    ASSERT_EQ(reference.getGeomExtents(covered), Acad::eOk);
    ASSERT_EQ(rectangle->GetCount(), 4);
    EXPECT_TRUE(rectangle->f70() & 1);
    EXPECT_EQ(rectangle->colorIndex(), 4);
    const AcGePoint3d lo = covered.minPoint(), hi = covered.maxPoint();
    const CPoint3d expected[] = {{lo.x, lo.y, 3}, {lo.x, hi.y, 3}, {hi.x, hi.y, 3}, {hi.x, lo.y, 3}};
    int i = 0;
    for (const P_Vertex* v = rectangle->H(); v; v = v->pVN, ++i)
        EXPECT_LT((poly_test::point(v) - expected[i]).dist3d(), 1e-12) << "corner " << i;
}

TEST_F(BlockRectangle, TurnedAboutTheInsertionPoint) {
    AcDbBlockReference* sample = sampleReference();
    ASSERT_NE(sample, nullptr);
    std::unique_ptr<PolyArc3D> rectangle(insertToZortapolyRect(sample));
    const AcGePoint3d at = sample->position();
    const double rotation = sample->rotation();
    sample->close();
    ASSERT_NE(rectangle, nullptr);
    // The unit square about the base point, scaled by 2: corners sqrt(2) from the insertion point.
    for (const P_Vertex* v = rectangle->H(); v; v = v->pVN)
        EXPECT_NEAR(std::hypot(v->pt.x - at.x, v->pt.y - at.y), std::numbers::sqrt2, 1e-12);
    const CPoint3d a = rectangle->H()->pt, b = rectangle->H(1)->pt;
    EXPECT_NEAR(std::atan2(b.y - a.y, b.x - a.x), rotation + std::numbers::pi / 2, 1e-12)
        << "the first side runs up the block's height";
    EXPECT_EQ(insertToZortapolyRect(nullptr), nullptr);
}

} // namespace
