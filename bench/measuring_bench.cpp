// Measuring a polyline of a million vertices: its length, its area and the nearest point to a given point.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "entity/core/poly_classes.h"

namespace {

constexpr int kMillion = 1'000'000;

// A closed survey outline: a million vertices along a wavy ring of about 30 km in plan, one segment in four
// an arc, heights rising and falling.
void surveyOutline(CPolyArc3D& poly) {
    for (int i = 0; i < kMillion; ++i) {
        const double a = 2 * std::numbers::pi * i / kMillion;
        const double r = 5000 + 40 * std::sin(a * 300);
        P_Vertex* v = poly.A();
        v->pt = CPoint3d(652000 + r * std::cos(a), 6234000 + r * std::sin(a), 420 + 15 * std::sin(a * 17));
        v->bulge = i % 4 == 0 ? 0.02 : 0.0;
    }
    poly.f70(1);
}

// In plan (argument 0) or in 3-D (1).
void LengthOfAMillionVertices(benchmark::State& state) {
    PolyArc3D poly;
    surveyOutline(poly);
    const int in3d = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(poly.getLen(in3d, 0, 0, nullptr));
    state.SetItemsProcessed(state.iterations() * kMillion);
}
BENCHMARK(LengthOfAMillionVertices)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The area with its perimeter: the outline is copied into its pieces first.
void AreaOfAMillionVertices(benchmark::State& state) {
    PolyArc3D poly;
    surveyOutline(poly);
    double perimeter = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(poly.getArea(&perimeter));
    state.SetItemsProcessed(state.iterations() * kMillion);
}
BENCHMARK(AreaOfAMillionVertices)->Unit(benchmark::kMillisecond);

// Every segment is looked at: the walk is the whole cost.
void NearestPointOnAMillionVertices(benchmark::State& state) {
    PolyArc3D poly;
    surveyOutline(poly);
    CPoint3d p(652000 + 3100, 6234000 + 3900, 425);
    CPoint3d foot;
    for (auto _ : state)
        benchmark::DoNotOptimize(poly.ptAtPoint(nullptr, &p, 0, 0, &foot, nullptr, nullptr, nullptr));
    state.SetItemsProcessed(state.iterations() * kMillion);
}
BENCHMARK(NearestPointOnAMillionVertices)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
