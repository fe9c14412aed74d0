// The polyline drawn into the host's recorder: 100,000 vertices with codes, widths and heights, each segment
// under its marker with its width line and height band; then the same polyline with a row of symbols every
// 10 m, whole and broken into pieces of nine vertices (each piece drawn with its own symbols). Beside them
// GEOS making the mitred offset curve of the same outline, in the same run. Items are segments drawn; the
// ratios are the figures to read.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <cmath>
#include <numbers>

#include "entity/core/poly_classes.h"
#include "host/db/build_list.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/circle_arc.h"
#include "host/graphics/graphics_recorder.h"

namespace {

constexpr int kVertices = 100'000;

CPoint3d outlinePoint(int i) {
    const double a = 2 * std::numbers::pi * i / kVertices;
    return {652000 + 5000 * std::cos(a) + 30 * std::sin(a * 300), 6234000 + 5000 * std::sin(a), 420};
}

// A wavy outline about 30 km round, widths of 0.3 m and heights of 0.15 m, and codes that colour segments
// without cutting the outline into pieces (kinds 2 and 3 break it, 6 starts an inner ring). With breakEvery,
// every so many vertices a break ends a piece instead.
void fill(PolyArc3D& poly, int breakEvery = 0) {
    constexpr signed char kKinds[] = {1, 4, 5, 7, 8, 9};
    for (int i = 0; i < kVertices; ++i) {
        P_Vertex* v = poly.A();
        v->pt = outlinePoint(i);
        v->tef1 = breakEvery && i % breakEvery == breakEvery - 1 ? 2 : kKinds[i % 6];
        v->f40(0.3);
        v->f39(0.15);
    }
}

void WorldDraw100kVertices(benchmark::State& state) {
    PolyArc3D::rxInit();
    PolyArc3D poly;
    fill(poly);
    for (auto _ : state) {
        host::GraphicsRecorder recorder;
        recorder.recordEntity(&poly);
        benchmark::DoNotOptimize(recorder.primitives().size());
    }
    state.SetItemsProcessed(state.iterations() * (kVertices - 1));
}
BENCHMARK(WorldDraw100kVertices)->Unit(benchmark::kMillisecond);

// The same outline with a tree every 10 m (about 3,000 symbols) from its style, the style's symbols laid over
// the pieces of the polyline; breakEvery as for fill.
void WorldDrawWithSymbols100kVertices(benchmark::State& state, int breakEvery) {
    PolyArc3D::rxInit();
    AcDbDatabase db;
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    acdbRegApp(L"ZORTA");
    auto* tree = new AcDbBlockTableRecord;
    tree->setName(L"ARBRE");
    AcDbBlockTable* blocks = nullptr;
    db.getBlockTable(blocks, AcDb::kForWrite);
    blocks->add(tree);
    blocks->close();
    tree->appendAcDbEntity(new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 0.6));
    tree->close();
    {
        PolyArc3D poly;
        fill(poly, breakEvery);
        resbuf* style = acutBuildList(1001, L"ZORTA", 1000, L"*I=ARBRE,d=10", 0);
        poly.setXData(style);
        acutRelRb(style);
        for (auto _ : state) {
            host::GraphicsRecorder recorder;
            recorder.recordEntity(&poly);
            benchmark::DoNotOptimize(recorder.primitives().size());
        }
    }
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    state.SetItemsProcessed(state.iterations() * (kVertices - 1));
}
BENCHMARK_CAPTURE(WorldDrawWithSymbols100kVertices, whole, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WorldDrawWithSymbols100kVertices, breakEvery9, 9)->Unit(benchmark::kMillisecond);

// The anchor: GEOS building the same outline and its offset curve 0.3 m to the right, corners mitred.
void GeosOffsetCurve100kVertices(benchmark::State& state) {
    GEOSContextHandle_t h = GEOS_init_r();
    for (auto _ : state) {
        GEOSCoordSequence* s = GEOSCoordSeq_create_r(h, kVertices, 2);
        for (unsigned i = 0; i < kVertices; ++i) {
            const CPoint3d p = outlinePoint(static_cast<int>(i));
            GEOSCoordSeq_setXY_r(h, s, i, p.x, p.y);
        }
        GEOSGeometry* line = GEOSGeom_createLineString_r(h, s);
        GEOSGeometry* offset = GEOSOffsetCurve_r(h, line, -0.3, 8, GEOSBUF_JOIN_MITRE, 10);
        benchmark::DoNotOptimize(offset);
        GEOSGeom_destroy_r(h, offset);
        GEOSGeom_destroy_r(h, line);
    }
    GEOS_finish_r(h);
    state.SetItemsProcessed(state.iterations() * (kVertices - 1));
}
BENCHMARK(GeosOffsetCurve100kVertices)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
