// Measuring a polyline of 10 K to 4 M vertices: its length, its area and the nearest point to a given point,
// each beside outside anchors measured in the same run: GEOS on the same outline, and a plain walk over the
// node list (the memory limit of any walk). Every timed loop starts after one warm call, so that no figure
// holds the pool's first growth.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "entity/core/poly_arc3d.h"
#include "entity/core/poly_classes.h"
#include "ratio_reporter.h"

namespace {

// A closed survey outline of straight segments: `count` vertices along a wavy ring of about 30 km in plan,
// heights rising and falling. With arcs, one segment in four is one.
void surveyOutline(CPolyArc3D& poly, int count, bool withArcs = false) {
    for (int i = 0; i < count; ++i) {
        const double a = 2 * std::numbers::pi * i / count;
        const double r = 5000 + 40 * std::sin(a * 300);
        P_Vertex* v = poly.A();
        v->pt = CPoint3d(652000 + r * std::cos(a), 6234000 + r * std::sin(a), 420 + 15 * std::sin(a * 17));
        v->bulge = withArcs && i % 4 == 0 ? 0.02 : 0.0;
    }
    poly.f70(1);
}

const CPoint3d kProbe(652000 + 3100, 6234000 + 3900, 425);

void setSizes(benchmark::internal::Benchmark* b) {
    b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Arg(4'000'000)->Unit(benchmark::kMillisecond);
}

// Runs `op` once to warm up, then in the timed loop; items are vertices, so ns per vertex can be compared
// across sizes.
template <class Op> void timeEach(benchmark::State& state, Op&& op) {
    benchmark::DoNotOptimize(op());
    for (auto _ : state)
        benchmark::DoNotOptimize(op());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The outline as a GEOS polygon (one ring of its vertices), with its own context.
class GeosOutline {
public:
    explicit GeosOutline(const CPolyArc3D& poly) : m_handle(GEOS_init_r()) {
        if (!m_handle) throw std::runtime_error("GEOS did not start");
        const auto count = static_cast<unsigned>(poly.GetCount());
        GEOSCoordSequence* s = GEOSCoordSeq_create_r(m_handle, count + 1, 2);
        unsigned i = 0;
        for (const P_Vertex* v = poly.H(); v; v = v->pVN, ++i)
            GEOSCoordSeq_setXY_r(m_handle, s, i, v->pt.x, v->pt.y);
        GEOSCoordSeq_setXY_r(m_handle, s, count, poly.H()->pt.x, poly.H()->pt.y);
        GEOSGeometry* ring = GEOSGeom_createLinearRing_r(m_handle, s);
        m_polygon = GEOSGeom_createPolygon_r(m_handle, ring, nullptr, 0);
        m_boundary = GEOSBoundary_r(m_handle, m_polygon);
        m_probe = GEOSGeom_createPointFromXY_r(m_handle, kProbe.x, kProbe.y);
    }
    ~GeosOutline() {
        GEOSGeom_destroy_r(m_handle, m_probe);
        GEOSGeom_destroy_r(m_handle, m_boundary);
        GEOSGeom_destroy_r(m_handle, m_polygon);
        GEOS_finish_r(m_handle);
    }
    GeosOutline(const GeosOutline&) = delete;
    GeosOutline& operator=(const GeosOutline&) = delete;

    double length() const {
        double value = 0;
        GEOSLength_r(m_handle, m_boundary, &value);
        return value;
    }
    double area() const {
        double value = 0;
        GEOSArea_r(m_handle, m_polygon, &value);
        return value;
    }
    double nearestX() const {
        GEOSCoordSequence* s = GEOSNearestPoints_r(m_handle, m_boundary, m_probe);
        double x = 0;
        GEOSCoordSeq_getX_r(m_handle, s, 0, &x);
        GEOSCoordSeq_destroy_r(m_handle, s);
        return x;
    }

private:
    GEOSContextHandle_t m_handle;
    GEOSGeometry* m_polygon = nullptr;
    GEOSGeometry* m_boundary = nullptr;
    GEOSGeometry* m_probe = nullptr;
};

// Times op(poly) on a survey outline of range(0) vertices.
template <class Op> void onOutline(benchmark::State& state, bool withArcs, Op&& op) {
    PolyArc3D poly;
    surveyOutline(poly, static_cast<int>(state.range(0)), withArcs);
    timeEach(state, [&] { return op(poly); });
}

double planLength(CPolyArc3D& poly) {
    return poly.getLen(0, 0, 0, nullptr);
}

double areaWithPerimeter(CPolyArc3D& poly) {
    double perimeter = 0;
    return poly.getArea(&perimeter);
}

// Every segment is looked at: the walk is the whole cost.
P_Vertex* nearestToProbe(CPolyArc3D& poly) {
    CPoint3d p = kProbe;
    CPoint3d foot;
    return poly.ptAtPoint(nullptr, &p, 0, 0, &foot, nullptr, nullptr, nullptr);
}

// In plan (second argument 0) or in 3-D (1).
void Length(benchmark::State& state) {
    const int in3d = static_cast<int>(state.range(1));
    onOutline(state, false, [in3d](CPolyArc3D& poly) { return poly.getLen(in3d, 0, 0, nullptr); });
}
BENCHMARK(Length)
    ->ArgsProduct({{10'000, 100'000, 1'000'000, 4'000'000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void AreaWithPerimeter(benchmark::State& state) {
    onOutline(state, false, areaWithPerimeter);
}
BENCHMARK(AreaWithPerimeter)->Apply(setSizes);

// The very first call on an entity: a fresh outline per iteration, made outside the timing, whose nodes have
// just been written; op(poly) is timed.
template <class Op> void firstCall(benchmark::State& state, Op&& op) {
    PolyArc3D keeper; // keeps the pool's blocks between iterations, as a session does
    for (auto _ : state) {
        state.PauseTiming();
        {
            PolyArc3D poly;
            surveyOutline(poly, static_cast<int>(state.range(0)));
            state.ResumeTiming();
            benchmark::DoNotOptimize(op(poly));
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void AreaFirstCall(benchmark::State& state) {
    firstCall(state, areaWithPerimeter);
}
BENCHMARK(AreaFirstCall)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void NearestPoint(benchmark::State& state) {
    onOutline(state, false, nearestToProbe);
}
BENCHMARK(NearestPoint)->Apply(setSizes);

// The same three with one segment in four an arc: what the arc formulas add.
template <class Op> void WithArcs(benchmark::State& state, Op op) {
    onOutline(state, true, op);
}
BENCHMARK_CAPTURE(WithArcs, length, planLength)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WithArcs, area, areaWithPerimeter)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WithArcs, nearest_point, nearestToProbe)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Anchor: the plan length summed by a plain walk over the same node list.
double plainWalk(CPolyArc3D& poly) {
    double sum = 0;
    for (const P_Vertex* v = poly.H(); v->pVN; v = v->pVN)
        sum += std::sqrt((v->pVN->pt.x - v->pt.x) * (v->pVN->pt.x - v->pt.x) +
                         (v->pVN->pt.y - v->pt.y) * (v->pVN->pt.y - v->pt.y));
    return sum;
}
void AnchorPlainWalkOfNodes(benchmark::State& state) {
    onOutline(state, false, plainWalk);
}
BENCHMARK(AnchorPlainWalkOfNodes)->Apply(setSizes);

// The plain walk as the first call on a fresh outline: what memory alone makes of a first call.
void AnchorPlainWalkFirstCall(benchmark::State& state) {
    firstCall(state, plainWalk);
}
BENCHMARK(AnchorPlainWalkFirstCall)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The same walk going on from the guessed next slot as the entity's walks do: what that guess alone gives,
// so that a figure below the plain walk can be read against it too.
double guessedWalk(CPolyArc3D& poly) {
    double sum = 0;
    for (const P_Vertex *v = poly.H(), *w; (w = CPolyArc3D::following(v)); v = w)
        sum +=
            std::sqrt((w->pt.x - v->pt.x) * (w->pt.x - v->pt.x) + (w->pt.y - v->pt.y) * (w->pt.y - v->pt.y));
    return sum;
}
void AnchorGuessedWalkOfNodes(benchmark::State& state) {
    onOutline(state, false, guessedWalk);
}
BENCHMARK(AnchorGuessedWalkOfNodes)->Apply(setSizes);
void AnchorGuessedWalkFirstCall(benchmark::State& state) {
    firstCall(state, guessedWalk);
}
BENCHMARK(AnchorGuessedWalkFirstCall)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Anchors: GEOS on a polygon of the same vertices, made outside the timing.
void AnchorGeos(benchmark::State& state, double (GeosOutline::*op)() const) {
    PolyArc3D poly;
    surveyOutline(poly, static_cast<int>(state.range(0)));
    const GeosOutline geos(poly);
    timeEach(state, [&] { return (geos.*op)(); });
}
BENCHMARK_CAPTURE(AnchorGeos, length, &GeosOutline::length)->Apply(setSizes);
BENCHMARK_CAPTURE(AnchorGeos, area, &GeosOutline::area)->Apply(setSizes);
BENCHMARK_CAPTURE(AnchorGeos, nearest_point, &GeosOutline::nearestX)->Apply(setSizes);

} // namespace

int main(int argc, char** argv) {
    return bench_ratios::runWithRatios(argc, argv,
                                       {
                                           {"Length/{n}/0", "AnchorGeos/length/{n}"},
                                           {"Length/{n}/0", "AnchorPlainWalkOfNodes/{n}"},
                                           {"Length/{n}/0", "AnchorGuessedWalkOfNodes/{n}"},
                                           {"Length/{n}/1", "AnchorPlainWalkOfNodes/{n}"},
                                           {"AreaWithPerimeter/{n}", "AnchorGeos/area/{n}"},
                                           {"AreaWithPerimeter/{n}", "AnchorPlainWalkOfNodes/{n}"},
                                           {"AreaWithPerimeter/{n}", "AnchorGuessedWalkOfNodes/{n}"},
                                           {"AreaFirstCall/{n}", "AnchorGeos/area/{n}"},
                                           {"AreaFirstCall/{n}", "AnchorPlainWalkFirstCall/{n}"},
                                           {"AreaFirstCall/{n}", "AnchorGuessedWalkFirstCall/{n}"},
                                           {"NearestPoint/{n}", "AnchorGeos/nearest_point/{n}"},
                                           {"NearestPoint/{n}", "AnchorPlainWalkOfNodes/{n}"},
                                           {"AnchorPlainWalkOfNodes/{n}", "AnchorGeos/length/{n}"},
                                           {"AnchorGuessedWalkOfNodes/{n}", "AnchorGeos/length/{n}"},
                                       });
}
