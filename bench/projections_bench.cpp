// L-93 conversions against PROJ on the same points in the same run: forward, inverse and both over 10,000 to
// a million points, and the time to the first converted point with the set-up (reading the definition file;
// PROJ's context and operation). PROJ is the anchor: the table at the end gives the ratios.
#include "geometry/projections/ctes_proj.h"
#include "ratio_reporter.h"
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

// Points over France in degrees, longitude first; the first n of them.
std::vector<PJ_COORD> samplePoints(std::size_t n = kPoints) {
    static const std::vector<PJ_COORD> points = [] {
        std::mt19937_64 random(93);
        std::uniform_real_distribution<double> lon(-5, 9.5);
        std::uniform_real_distribution<double> lat(42, 51);
        std::vector<PJ_COORD> out(kPoints);
        for (PJ_COORD& p : out)
            p = proj_coord(lon(random), lat(random), 0, 0);
        return out;
    }();
    return {points.begin(), points.begin() + static_cast<std::ptrdiff_t>(n)};
}

void useShippedDefinitions() {
    std::snprintf(pvg->localFolder, sizeof pvg->localFolder, "%s\\", ZORTA_EXAMPLES_DIR);
}

CtesProj* loadL93(benchmark::State& state) {
    useShippedDefinitions();
    CtesProj* const l93 = CtesProj::InitProjections(1) ? CtesProj::GetProjFromEpsg(2154) : nullptr;
    if (!l93) state.SkipWithError("no L-93 in the shipped definitions");
    return l93;
}

// The sample points in radians, or (projected) in metres.
std::vector<CPoint3d> zortaPoints(std::size_t n, CtesProj* projected) {
    std::vector<CPoint3d> out;
    for (const PJ_COORD& p : samplePoints(n)) {
        CPoint3d geo(p.v[0] * kDegree, p.v[1] * kDegree, 0), xy;
        if (projected) projected->GeoToXy(geo, xy);
        out.push_back(projected ? xy : geo);
    }
    return out;
}

void BM_Zorta_Forward(benchmark::State& state) {
    CtesProj* const l93 = loadL93(state);
    if (!l93) return;
    const std::vector<CPoint3d> points = zortaPoints(static_cast<std::size_t>(state.range(0)), nullptr);
    CPoint3d xy;
    for (auto _ : state) {
        for (const CPoint3d& geo : points)
            l93->GeoToXy(geo, xy);
        benchmark::DoNotOptimize(xy);
    }
    CtesProj::RemoveAll();
}

void BM_Zorta_Inverse(benchmark::State& state) {
    CtesProj* const l93 = loadL93(state);
    if (!l93) return;
    const std::vector<CPoint3d> points = zortaPoints(static_cast<std::size_t>(state.range(0)), l93);
    CPoint3d geo;
    for (auto _ : state) {
        for (const CPoint3d& xy : points)
            l93->XyToGeo(xy, geo);
        benchmark::DoNotOptimize(geo);
    }
    CtesProj::RemoveAll();
}

void BM_Zorta_RoundTrip(benchmark::State& state) {
    CtesProj* const l93 = loadL93(state);
    if (!l93) return;
    const std::vector<CPoint3d> points = zortaPoints(static_cast<std::size_t>(state.range(0)), nullptr);
    for (auto _ : state) {
        CPoint3d xy;
        CPoint3d geo;
        for (const CPoint3d& p : points) {
            l93->GeoToXy(p, xy);
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

void transform(PJ* operation, PJ_DIRECTION direction, std::vector<PJ_COORD>& points) {
    proj_trans_generic(operation, direction, &points[0].v[0], sizeof(PJ_COORD), points.size(),
                       &points[0].v[1], sizeof(PJ_COORD), points.size(), nullptr, 0, 0, nullptr, 0, 0);
}

// PROJ converting the sample points in the given directions, each round from a fresh copy of its input.
void runProj(benchmark::State& state, std::initializer_list<PJ_DIRECTION> directions) {
    PJ_CONTEXT* context = proj_context_create();
    PJ* operation = createL93(context);
    std::vector<PJ_COORD> input = samplePoints(static_cast<std::size_t>(state.range(0)));
    if (*directions.begin() == PJ_INV) transform(operation, PJ_FWD, input);
    std::vector<PJ_COORD> points;
    for (auto _ : state) {
        state.PauseTiming();
        points = input;
        state.ResumeTiming();
        for (const PJ_DIRECTION direction : directions)
            transform(operation, direction, points);
        benchmark::DoNotOptimize(points.data());
    }
    proj_destroy(operation);
    proj_context_destroy(context);
}

void BM_Proj_Forward(benchmark::State& state) {
    runProj(state, {PJ_FWD});
}

void BM_Proj_Inverse(benchmark::State& state) {
    runProj(state, {PJ_INV});
}

void BM_Proj_RoundTrip(benchmark::State& state) {
    runProj(state, {PJ_FWD, PJ_INV});
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

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10'000)->Arg(100'000)->Arg(kPoints)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Zorta_Forward)->Apply(sizes);
BENCHMARK(BM_Proj_Forward)->Apply(sizes);
BENCHMARK(BM_Zorta_Inverse)->Apply(sizes);
BENCHMARK(BM_Proj_Inverse)->Apply(sizes);
BENCHMARK(BM_Zorta_RoundTrip)->Apply(sizes);
BENCHMARK(BM_Proj_RoundTrip)->Apply(sizes);
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
    return bench_ratios::runWithRatios(argc, argv,
                                       {{"BM_Zorta_Forward/{n}", "BM_Proj_Forward/{n}"},
                                        {"BM_Zorta_Inverse/{n}", "BM_Proj_Inverse/{n}"},
                                        {"BM_Zorta_RoundTrip/{n}", "BM_Proj_RoundTrip/{n}"},
                                        {"BM_Zorta_FirstPoint", "BM_Proj_FirstPoint"}});
}
