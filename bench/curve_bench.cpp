// The curve protocol on a survey polyline of 100,000 vertices (nearest point, parameter at a point, the snap
// search of the segment under the pick) and the intersections of two polylines of 1,000 to 100,000 segments,
// each beside GEOS doing the like on the same chords in the same run: the ratios are the figures to read.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include "ratio_reporter.h"

#include <cmath>
#include <numbers>

#include "entity/core/poly_classes.h"
#include "host/db/acdb.h"

namespace {

constexpr int kVertices = 100'000;

// A wavy open traverse about 16 km long, one segment in four an arc.
void traverse(CPolyArc3D& poly, int count, double phase) {
    for (int i = 0; i < count; ++i) {
        const double a = 2 * std::numbers::pi * i / count + phase;
        P_Vertex* v = poly.A();
        v->pt =
            CPoint3d(652000 + 5000 * std::cos(a) + 30 * std::sin(a * 300), 6234000 + 5000 * std::sin(a), 420);
        v->bulge = i % 4 == 0 ? 0.02 : 0.0;
    }
}

GEOSGeometry* chords(GEOSContextHandle_t h, const CPolyArc3D& poly) {
    GEOSCoordSequence* s = GEOSCoordSeq_create_r(h, poly.GetCount(), 2);
    unsigned i = 0;
    for (const P_Vertex* v = poly.H(); v; v = v->pVN, ++i)
        GEOSCoordSeq_setXY_r(h, s, i, v->pt.x, v->pt.y);
    return GEOSGeom_createLineString_r(h, s);
}

const AcGePoint3d kPick(652000 + 3100, 6234000 + 3900, 420);

// The traverse of kVertices vertices and the point on it nearest the pick, which the searches start from.
struct PickedTraverse {
    PickedTraverse() {
        traverse(poly, kVertices, 0);
        poly.getClosestPointTo(kPick, on);
    }
    PolyArc3D poly;
    AcGePoint3d on;
};

void ClosestPointOn100kVertices(benchmark::State& state) {
    PickedTraverse t;
    for (auto _ : state)
        benchmark::DoNotOptimize(t.poly.getClosestPointTo(kPick, t.on));
}
BENCHMARK(ClosestPointOn100kVertices)->Unit(benchmark::kMillisecond);

void ParamAtPointOn100kVertices(benchmark::State& state) {
    PickedTraverse t;
    double param = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(t.poly.getParamAtPoint(t.on, param));
}
BENCHMARK(ParamAtPointOn100kVertices)->Unit(benchmark::kMillisecond);

void SegmentUnderThePickOn100kVertices(benchmark::State& state) {
    PickedTraverse t;
    const AcGeMatrix3d plan;
    for (auto _ : state) {
        AcGePoint3dArray points;
        AcDbIntArray ids;
        benchmark::DoNotOptimize(t.poly.getOsnapPoints(AcDb::kOsModeNear, 0, t.on, t.on, plan, points, ids));
    }
}
BENCHMARK(SegmentUnderThePickOn100kVertices)->Unit(benchmark::kMillisecond);

// The anchor of the three above: GEOS projecting the pick on the same 100,000 chords.
void GeosProjectOn100kVertices(benchmark::State& state) {
    PolyArc3D poly;
    traverse(poly, kVertices, 0);
    GEOSContextHandle_t h = GEOS_init_r();
    GEOSGeometry* line = chords(h, poly);
    GEOSGeometry* pick = GEOSGeom_createPointFromXY_r(h, kPick.x, kPick.y);
    for (auto _ : state)
        benchmark::DoNotOptimize(GEOSProject_r(h, line, pick));
    GEOSGeom_destroy_r(h, pick);
    GEOSGeom_destroy_r(h, line);
    GEOS_finish_r(h);
}
BENCHMARK(GeosProjectOn100kVertices)->Unit(benchmark::kMillisecond);

void intersectionSizes(benchmark::internal::Benchmark* b) {
    b->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
}

// Two traverses of n segments a hair apart in phase: their waves cross some 600 times whatever n.
void IntersectionsOfTwoPolylines(benchmark::State& state) {
    const auto segments = static_cast<int>(state.range(0));
    PolyArc3D a, b;
    traverse(a, segments + 1, 0);
    traverse(b, segments + 1, 0.001);
    for (auto _ : state) {
        AcGePoint3dArray points;
        benchmark::DoNotOptimize(a.intersectWith(&b, AcDb::kOnBothOperands, points));
    }
}
BENCHMARK(IntersectionsOfTwoPolylines)->Apply(intersectionSizes);

// Its anchor: GEOS intersecting the same chords.
void GeosIntersectionOfTwoLines(benchmark::State& state) {
    const auto segments = static_cast<int>(state.range(0));
    PolyArc3D a, b;
    traverse(a, segments + 1, 0);
    traverse(b, segments + 1, 0.001);
    GEOSContextHandle_t h = GEOS_init_r();
    GEOSGeometry* first = chords(h, a);
    GEOSGeometry* second = chords(h, b);
    for (auto _ : state) {
        GEOSGeometry* meet = GEOSIntersection_r(h, first, second);
        benchmark::DoNotOptimize(meet);
        GEOSGeom_destroy_r(h, meet);
    }
    GEOSGeom_destroy_r(h, second);
    GEOSGeom_destroy_r(h, first);
    GEOS_finish_r(h);
}
BENCHMARK(GeosIntersectionOfTwoLines)->Apply(intersectionSizes);

} // namespace

int main(int argc, char** argv) {
    return bench_ratios::runWithRatios(
        argc, argv,
        {{"ClosestPointOn100kVertices", "GeosProjectOn100kVertices"},
         {"ParamAtPointOn100kVertices", "GeosProjectOn100kVertices"},
         {"SegmentUnderThePickOn100kVertices", "GeosProjectOn100kVertices"},
         {"IntersectionsOfTwoPolylines/{n}", "GeosIntersectionOfTwoLines/{n}"}});
}
