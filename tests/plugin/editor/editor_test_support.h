#pragma once
// The editor's tests: a drawing with the polyline classes registered and the editor's process-wide state
// reset around each test, and polylines placed in model space from points.
#include <initializer_list>
#include <vector>

#include "entity/snaps/osnap_request.h"
#include "plugin/editor/editor_state.h"
#include "plugin/editor/qpoly_edit.h"
#include "plugin/editor/segment_jig.h"
#include "tests/cadutil/cadutil_test_support.h"
#include "tests/entity/poly_test_support.h"

namespace plugin::test {

struct EditorFixture : ::testing::Test {
    poly_test::RegisteredClasses classes;
    PluginSession session;

    EditorFixture() {
        editor_state::reset();
        SegmentJig::resetProcessState();
        OsnapRequest::createRegistry();
    }
    ~EditorFixture() override {
        OsnapRequest::destroyRegistry();
        SegmentJig::resetProcessState();
        editor_state::reset();
    }

    // A polyline of model space through the points; closed sets the closed bit.
    AcDbObjectId addPolyline(std::initializer_list<CPoint3d> points, bool closed = false) {
        auto* poly = new PolyArc3D;
        poly_test::appendAll(*poly, points);
        if (closed) poly->f70(1);
        return session.addEntity(poly);
    }

    // The vertices of the editor's entity, which must be open.
    static std::vector<P_Vertex*> vertices(const qpoly_edit& editor) {
        std::vector<P_Vertex*> list;
        for (P_Vertex* v = editor.entity->H(); v; v = v->pVN)
            list.push_back(v);
        return list;
    }

    static std::vector<CPoint3d> points(const CPolyArc3D& poly) {
        std::vector<CPoint3d> list;
        for (const P_Vertex* v = poly.H(); v; v = v->pVN)
            list.push_back(v->pt);
        return list;
    }
};

} // namespace plugin::test
