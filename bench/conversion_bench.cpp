// The conversions on 10,000 to 1,000,000 vertices: a polyline from a host lightweight polyline with arcs,
// and a host 3-D polyline from the polyline with its arcs cut into chords within 0.01; beside them GEOS
// densifying the same chords to the like number of points, in the same run. Items are vertices read; the
// ratios printed at the end, and their spread across sizes, are the figures to read.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "entity/core/poly_classes.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/polylines.h"
#include "ratio_reporter.h"

namespace {

// A wavy closed outline about 30 km round, one segment in four an arc.
void outline(AcDbPolyline& lw, int vertices) {
    for (int i = 0; i < vertices; ++i) {
        const double a = 2 * std::numbers::pi * i / vertices;
        lw.addVertexAt(
            static_cast<unsigned int>(i),
            AcGePoint2d(652000 + 5000 * std::cos(a) + 30 * std::sin(a * 300), 6234000 + 5000 * std::sin(a)),
            i % 4 == 0 ? 0.02 : 0.0);
    }
    lw.setElevation(420);
    lw.setClosed(true);
}

void FromLightweight(benchmark::State& state) {
    const auto vertices = static_cast<int>(state.range(0));
    AcDbPolyline lw;
    outline(lw, vertices);
    for (auto _ : state) {
        PolyArc3D poly;
        benchmark::DoNotOptimize(poly.from(&lw, 0));
    }
    state.SetItemsProcessed(state.iterations() * vertices);
}
BENCHMARK(FromLightweight)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void To3dAt1cm(benchmark::State& state) {
    const auto vertices = static_cast<int>(state.range(0));
    AcDbPolyline lw;
    outline(lw, vertices);
    PolyArc3D poly;
    poly.from(&lw, 0);
    for (auto _ : state) {
        std::unique_ptr<AcDb3dPolyline> solid(poly.to3d(0, 0.01, nullptr));
        benchmark::DoNotOptimize(solid.get());
    }
    state.SetItemsProcessed(state.iterations() * vertices);
}
BENCHMARK(To3dAt1cm)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The anchor: GEOS building the same chords and densifying them to 1 m segments.
void GeosDensify(benchmark::State& state) {
    const auto vertices = static_cast<int>(state.range(0));
    AcDbPolyline lw;
    outline(lw, vertices);
    GEOSContextHandle_t h = GEOS_init_r();
    for (auto _ : state) {
        GEOSCoordSequence* s = GEOSCoordSeq_create_r(h, static_cast<unsigned>(vertices), 2);
        for (unsigned i = 0; i < static_cast<unsigned>(vertices); ++i) {
            AcGePoint2d p;
            lw.getPointAt(i, p);
            GEOSCoordSeq_setXY_r(h, s, i, p.x, p.y);
        }
        GEOSGeometry* line = GEOSGeom_createLineString_r(h, s);
        GEOSGeometry* dense = GEOSDensify_r(h, line, 1.0);
        benchmark::DoNotOptimize(dense);
        GEOSGeom_destroy_r(h, dense);
        GEOSGeom_destroy_r(h, line);
    }
    GEOS_finish_r(h);
    state.SetItemsProcessed(state.iterations() * vertices);
}
BENCHMARK(GeosDensify)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench_ratios::runWithRatios(
        argc, argv, {{"FromLightweight/{n}", "GeosDensify/{n}"}, {"To3dAt1cm/{n}", "GeosDensify/{n}"}});
}
