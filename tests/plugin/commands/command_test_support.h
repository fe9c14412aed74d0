#pragma once
// The commands' tests: the application's session with the entity classes, the command table and the
// reactor in place, polylines added to the drawing and read back.
#include <functional>
#include <initializer_list>
#include <memory>

#include "host/editor/editor.h"
#include "plugin/app/command_table.h"
#include "plugin/app/edit_reactor.h"
#include "plugin/commands/command_state.h"
#include "tests/entity/poly_test_support.h"
#include "tests/plugin/application_session.h"

namespace plugin::test {

struct CommandSession : ApplicationSession {
    CommandSession() {
        registerCommands();
        command_state::resetCommandState();
        acedEditor->addReactor(&reactor);
    }
    ~CommandSession() {
        acedEditor->removeReactor(&reactor);
        command_state::resetCommandState();
    }

    // A PolyArc3D of those points in model space, shaped by `shape` before it is added.
    AcDbObjectId addPolyline(std::initializer_list<CPoint3d> points,
                             const std::function<void(CPolyArc3D&)>& shape = {}) {
        auto* poly = new PolyArc3D;
        poly_test::appendAll(*poly, points);
        if (shape) shape(*poly);
        return addEntity(poly);
    }
    // Hands the polyline, open for read, to `look`.
    static void read(AcDbObjectId id, const std::function<void(const CPolyArc3D&)>& look) {
        CPolyArc3D* poly = nullptr;
        ASSERT_EQ(acdbOpenObject(poly, id, AcDb::kForRead), Acad::eOk);
        look(*poly);
        poly->close();
    }
    // A copy of the polyline outside the drawing.
    static std::unique_ptr<CPolyArc3D> copyOf(AcDbObjectId id) {
        auto copy = std::make_unique<PolyArc3D>();
        read(id, [&](const CPolyArc3D& poly) { copy->copyVertexFrom(&poly); });
        return copy;
    }

    poly_test::RegisteredClasses classes;
    myeditreact reactor;
};

} // namespace plugin::test
