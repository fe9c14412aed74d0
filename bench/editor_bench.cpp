// The polyline editor: points digitised one after the other onto the end of a 10,000-vertex polyline, each
// through a whole pass of the loop (list check, rubber band, drag, smoothing). The anchor does the like work
// with GEOS in the same run: for each point, the same vertices made a line string and measured.
#include <benchmark/benchmark.h>

#include <geos_c.h>

#include <memory>
#include <string>

#include "cadutil/database/spaces.h"
#include "entity/core/poly_classes.h"
#include "entity/snaps/osnap_request.h"
#include "host/db/database.h"
#include "host/editor/documents.h"
#include "host/editor/editor_reset.h"
#include "host/input/input_queue.h"
#include "plugin/editor/editor_state.h"
#include "plugin/editor/qpoly_edit.h"

namespace {

constexpr int kVertices = 10'000;
constexpr int kPointsPerRun = 200;

CPoint3d vertexPoint(int i) {
    return {652000.0 + i * 0.731, 1234000.0 + (i % 977) * 1.37, 0};
}

// A drawing with a document and the polyline of kVertices vertices in model space.
struct Drawing {
    Drawing() {
        host::resetEditor();
        PolyArc3D::rxInit();
        OsnapRequest::createRegistry();
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        acDocManager->openDocument(db.get(), L"bench.dxf");
        auto* poly = new PolyArc3D;
        for (int i = 0; i < kVertices; ++i)
            poly->A()->pt = vertexPoint(i);
        appendEntityToSpace(id, poly, 1, db.get());
        poly->close();
    }
    ~Drawing() {
        host::resetEditor();
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        OsnapRequest::destroyRegistry();
        PolyArc3D::rxUninit();
    }
    std::unique_ptr<AcDbDatabase> db = std::make_unique<AcDbDatabase>();
    AcDbObjectId id;
};

void EditorPointsOntoTenThousandVertices(benchmark::State& state) {
    Drawing drawing;
    int next = kVertices;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < kPointsPerRun; ++i) {
            const CPoint3d p = vertexPoint(next++);
            host::inputQueue().push(host::pointItem(AcGePoint3d(p.x, p.y, 0)));
        }
        host::inputQueue().push(host::enterItem());
        state.ResumeTiming();
        qpoly_edit editor(drawing.id, nullptr, 0);
        editor.openRead();
        editor.current = editor.entity->T();
        editor.closeEntity();
        editor.shapeMode = 0;
        editor.edit();
        editor.close();
    }
    state.SetItemsProcessed(state.iterations() * kPointsPerRun);
}
BENCHMARK(EditorPointsOntoTenThousandVertices)->Unit(benchmark::kMillisecond);

// The anchor: per point, the vertices so far made a GEOS line string and measured.
void GeosLineRebuiltPerPoint(benchmark::State& state) {
    GEOSContextHandle_t h = GEOS_init_r();
    int count = kVertices;
    for (auto _ : state) {
        for (int i = 0; i < kPointsPerRun; ++i, ++count) {
            GEOSCoordSequence* s = GEOSCoordSeq_create_r(h, static_cast<unsigned>(count), 2);
            for (int k = 0; k < count; ++k) {
                const CPoint3d p = vertexPoint(k);
                GEOSCoordSeq_setXY_r(h, s, static_cast<unsigned>(k), p.x, p.y);
            }
            GEOSGeometry* line = GEOSGeom_createLineString_r(h, s);
            double length = 0;
            GEOSLength_r(h, line, &length);
            benchmark::DoNotOptimize(length);
            GEOSGeom_destroy_r(h, line);
        }
    }
    GEOS_finish_r(h);
    state.SetItemsProcessed(state.iterations() * kPointsPerRun);
}
BENCHMARK(GeosLineRebuiltPerPoint)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
