// L-93 conversions against PROJ on the same points in the same run: a million points forward and back, and
// the time to the first converted point with the set-up (reading the definition file; PROJ's context and
// operation). PROJ is the anchor: compare the ratios, not the times.
#include "geometry/projections/ctes_proj.h"
#include "services/startup/shared_records.h"

#include <benchmark/benchmark.h>
#include <proj.h>

#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPoints = 1000000;
constexpr double kDegree = std::numbers::pi / 180;

// Points over France in degrees, longitude first.
const std::vector<PJ_COORD>& samplePoints() {
    static const std::vector<PJ_COORD> points = [] {
        std::mt19937_64 random(93);
        std::uniform_real_distribution<double> lon(-5, 9.5);
        std::uniform_real_distribution<double> lat(42, 51);
        std::vector<PJ_COORD> out(kPoints);
        for (PJ_COORD& p : out)
            p = proj_coord(lon(random), lat(random), 0, 0);
        return out;
    }();
    return points;
}

void useShippedDefinitions() {
    std::snprintf(pvg->localFolder, sizeof pvg->localFolder, "%s\\", ZORTA_EXAMPLES_DIR);
}

void BM_Zorta_RoundTrip1M(benchmark::State& state) {
    useShippedDefinitions();
    CtesProj* const l93 = CtesProj::InitProjections(1) ? CtesProj::GetProjFromEpsg(2154) : nullptr;
    if (!l93) {
        state.SkipWithError("no L-93 in the shipped definitions");
        return;
    }
    const std::vector<PJ_COORD>& points = samplePoints();
    for (auto _ : state) {
        CPoint3d xy;
        CPoint3d geo;
        for (const PJ_COORD& p : points) {
            l93->GeoToXy(CPoint3d(p.v[0] * kDegree, p.v[1] * kDegree, 0), xy);
            l93->XyToGeo(xy, geo);
        }
        benchmark::DoNotOptimize(geo);
    }
    CtesProj::RemoveAll();
}

PJ* createL93(PJ_CONTEXT* context) {
    PJ* raw = proj_create_crs_to_crs(context, "EPSG:4326", "EPSG:2154", nullptr);
    PJ* normalized = raw ? proj_normalize_for_visualization(context, raw) : nullptr;
    proj_destroy(raw);
    return normalized;
}

void BM_Proj_RoundTrip1M(benchmark::State& state) {
    PJ_CONTEXT* context = proj_context_create();
    PJ* operation = createL93(context);
    std::vector<PJ_COORD> points = samplePoints();
    for (auto _ : state) {
        state.PauseTiming();
        points = samplePoints();
        state.ResumeTiming();
        proj_trans_generic(operation, PJ_FWD, &points[0].v[0], sizeof(PJ_COORD), kPoints, &points[0].v[1],
                           sizeof(PJ_COORD), kPoints, nullptr, 0, 0, nullptr, 0, 0);
        proj_trans_generic(operation, PJ_INV, &points[0].v[0], sizeof(PJ_COORD), kPoints, &points[0].v[1],
                           sizeof(PJ_COORD), kPoints, nullptr, 0, 0, nullptr, 0, 0);
        benchmark::DoNotOptimize(points.data());
    }
    proj_destroy(operation);
    proj_context_destroy(context);
}

void BM_Zorta_FirstPoint(benchmark::State& state) {
    useShippedDefinitions();
    for (auto _ : state) {
        CPoint3d xy;
        CtesProj::InitProjections(1);
        CtesProj::GetProjFromEpsg(2154)->GeoToXy(CPoint3d(2 * kDegree, 47 * kDegree, 0), xy);
        benchmark::DoNotOptimize(xy);
    }
    CtesProj::RemoveAll();
}

void BM_Proj_FirstPoint(benchmark::State& state) {
    for (auto _ : state) {
        PJ_CONTEXT* context = proj_context_create();
        PJ* operation = createL93(context);
        PJ_COORD p = proj_trans(operation, PJ_FWD, proj_coord(2, 47, 0, 0));
        benchmark::DoNotOptimize(p);
        proj_destroy(operation);
        proj_context_destroy(context);
    }
}

BENCHMARK(BM_Zorta_RoundTrip1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Proj_RoundTrip1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zorta_FirstPoint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Proj_FirstPoint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The local folder lives in the shared segment: a namespace of its own keeps the user's untouched.
    if (!std::getenv("ZORTA_NAMESPACE")) {
        setenv("ZORTA_NAMESPACE", ("projections_bench_" + std::to_string(getpid()) + "_").c_str(), 1);
        execv("/proc/self/exe", argv);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
