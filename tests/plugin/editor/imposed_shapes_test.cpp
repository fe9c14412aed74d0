// Imposed shapes made from digitised vertices: the rectangle's right angles, the box along a rotated UCS,
// the circle at its radius, and too few vertices refused.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/editor/ucs.h"
#include "plugin/editor/shape_memory.h"
#include "tests/plugin/editor/editor_test_support.h"

namespace {

using plugin::test::EditorFixture;

struct ImposedShapes : EditorFixture {
    ImposedShapes() { shape_memory::reset(); }
    ~ImposedShapes() override { shape_memory::reset(); }

    // The shape made of the polyline through the points; its result, and the entity left open.
    int shape(qpoly_edit& editor, int mode) {
        editor.shapeMode = mode;
        return editor.finishShape(editor.openWrite());
    }
    static double dot(const CPoint3d& o, const CPoint3d& a, const CPoint3d& b) {
        return (a.x - o.x) * (b.x - o.x) + (a.y - o.y) * (b.y - o.y);
    }
};

TEST_F(ImposedShapes, RectangleThroughThreePointsHasRightAngles) {
    qpoly_edit editor(addPolyline({{0, 0, 0}, {0.000001, 0, 0}, {10, 5, 0}, {3, 9, 2}}), nullptr, 0);
    EXPECT_EQ(shape(editor, 3), 4);
    std::vector<CPoint3d> p = points(*editor.entity);
    ASSERT_EQ(p.size(), 4u);
    EXPECT_TRUE(editor.entity->f70() & 1);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(dot(p[i], p[(i + 1) % 4], p[(i + 3) % 4]), 0, 1e-9) << "corner " << i;
    EXPECT_EQ(p[1].x, 10) << "the second point is kept";
    EXPECT_DOUBLE_EQ(p[2].z, 2);
    editor.closeEntity();

    qpoly_edit tooFew(addPolyline({{0, 0, 0}, {10, 0, 0}}), nullptr, 0);
    EXPECT_EQ(shape(tooFew, 3), -1);
    EXPECT_EQ(shape(tooFew, 2), -1);
    tooFew.closeEntity();
}

TEST_F(ImposedShapes, BoxFollowsTheUserSystemsXAxis) {
    const double angle = std::numbers::pi / 6;
    ASSERT_TRUE(acedSetCurrentUCS(AcGeMatrix3d::rotation(angle, AcGeVector3d::kZAxis, AcGePoint3d::kOrigin)));
    qpoly_edit editor(addPolyline({{0, 0, 0}, {4, 4, 0}, {10, 2, 0}}), nullptr, 0);
    EXPECT_EQ(shape(editor, 4), 4);
    std::vector<CPoint3d> p = points(*editor.entity);
    ASSERT_EQ(p.size(), 4u);
    EXPECT_NEAR(std::atan2(p[1].y - p[0].y, p[1].x - p[0].x), angle, 1e-9);
    EXPECT_NEAR(std::atan2(p[2].y - p[3].y, p[2].x - p[3].x), angle, 1e-9);
    EXPECT_EQ(p[2].x, 10);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(dot(p[i], p[(i + 1) % 4], p[(i + 3) % 4]), 0, 1e-9) << "corner " << i;
    editor.closeEntity();
}

TEST_F(ImposedShapes, CircleByCentreAndThroughThreePoints) {
    qpoly_edit editor(addPolyline({{100, 100, 0}}), nullptr, 0);
    EXPECT_EQ(shape(editor, 1), -1) << "one vertex only gives the centre";
    poly_test::append(*editor.entity, {103, 104, 0});
    EXPECT_EQ(editor.finishShape(editor.entity), 3);
    EXPECT_TRUE(editor.entity->f70() & 1);
    for (const P_Vertex* v = editor.entity->H(); v; v = v->pVN) {
        if (v->dur()) {
            EXPECT_NEAR(std::hypot(v->pt.x - 100, v->pt.y - 100), 5, 1e-9);
        }
    }
    EXPECT_NE(editor.entity->H()->bulge, 0);
    editor.closeEntity();

    qpoly_edit three(addPolyline({{0, 0, 0}, {0, 0.0000001, 0}, {5, 5, 0}, {7, 7, 0}, {10, 0, 0}}), nullptr,
                     0);
    EXPECT_EQ(shape(three, 2), 3);
    std::vector<CPoint3d> p;
    for (const P_Vertex* v = three.entity->H(); v; v = v->pVN)
        if (v->dur()) p.push_back(v->pt);
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p[1].x, 5);
    three.closeEntity();
}

} // namespace
