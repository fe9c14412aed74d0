// The polyline entity: its node pool beside plain writes of as many records, splitting at loops beside a
// sort of as many points, and filing an entity of a million vertices.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "entity/core/poly_classes.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_file.h"
#include "host/filing/dxf_filer.h"
#include "ratio_reporter.h"

namespace {

constexpr int kMillion = 1'000'000;

void takeNodes(CPolyArc3D& poly, std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i)
        poly.A();
}

// Node counts from ten thousand to ten million: the time per node should not grow with the count.
void poolSizes(benchmark::internal::Benchmark* b) {
    b->Arg(10'000)
        ->Arg(100'000)
        ->Arg(1'000'000)
        ->Arg(4'000'000)
        ->Arg(10'000'000)
        ->Unit(benchmark::kMillisecond);
}

// A live entity that keeps the pool's blocks, already grown to `count` nodes: the timed loops never see the
// pool's first growth.
struct WarmPool {
    explicit WarmPool(std::int64_t count) {
        PolyArc3D poly;
        takeNodes(poly, count);
    }
    PolyArc3D keeper;
};

// Times op(poly, count) on a fresh entity per iteration, the pool already grown to `count` nodes.
template <class Op> void onWarmPool(benchmark::State& state, Op op) {
    const std::int64_t count = state.range(0);
    WarmPool pool(count);
    for (auto _ : state) {
        PolyArc3D poly;
        op(poly, count);
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// Appends `count` vertices (a node each, cleared and linked), then gives them back in one splice.
void NodePoolTakeAndSplice(benchmark::State& state) {
    onWarmPool(state, [](CPolyArc3D& poly, std::int64_t count) {
        takeNodes(poly, count);
        poly.RemoveAll();
    });
}
BENCHMARK(NodePoolTakeAndSplice)->Apply(poolSizes);

// The same through an entity of a drawing, opened for write inside an undo group, as commands build their
// polylines: every vertex asserts write access to the host object.
void NodePoolTakeInDrawing(benchmark::State& state) {
    const std::int64_t count = state.range(0);
    WarmPool pool(count);
    PolyArc3D::rxInit();
    AcDbDatabase db;
    AcDbObjectId id;
    AcDbBlockTableRecord* model = nullptr;
    acdbOpenObject(model, db.modelSpaceId(), AcDb::kForWrite);
    auto* created = new PolyArc3D;
    model->appendAcDbEntity(id, created);
    created->close();
    model->close();
    for (auto _ : state) {
        db.beginUndoGroup();
        CPolyArc3D* poly = nullptr;
        acdbOpenObject(poly, id, AcDb::kForWrite);
        takeNodes(*poly, count);
        poly->RemoveAll();
        poly->close();
        db.endUndoGroup();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(NodePoolTakeInDrawing)->Apply(poolSizes);

// The pool alone: `count` nodes taken and chained as they come (no clearing, no change notice per node),
// then given back in one splice.
void NodePoolAlone(benchmark::State& state) {
    onWarmPool(state, [](CPolyArc3D& poly, std::int64_t count) {
        P_Vertex* head = poly.NewNode(nullptr, nullptr);
        P_Vertex* tail = head;
        for (std::int64_t i = 1; i < count; ++i)
            tail = tail->pVN = poly.NewNode(tail, nullptr);
        poly.Attach(head, tail);
        poly.RemoveAll();
    });
}
BENCHMARK(NodePoolAlone)->Apply(poolSizes);

// The same nodes given back one by one, from the tail.
void NodePoolTakeAndFreeEach(benchmark::State& state) {
    onWarmPool(state, [](CPolyArc3D& poly, std::int64_t count) {
        takeNodes(poly, count);
        for (std::int64_t i = 0; i < count; ++i)
            poly.D();
    });
}
BENCHMARK(NodePoolTakeAndFreeEach)->Apply(poolSizes);

// With no entity alive in between, every iteration makes and frees its blocks.
void NodePoolFromNothing(benchmark::State& state) {
    const std::int64_t count = state.range(0);
    for (auto _ : state) {
        PolyArc3D poly;
        takeNodes(poly, count);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(NodePoolFromNothing)->Apply(poolSizes);

struct alignas(8) Record {
    Record* next;
    unsigned char rest[64];
};
static_assert(sizeof(Record) == 72);

void linkAndClear(Record* records, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        records[i].next = i + 1 < count ? &records[i + 1] : nullptr;
        std::memset(records[i].rest, 0, sizeof records[i].rest);
    }
    benchmark::ClobberMemory();
}

// Destroying an entity of `count` vertices: its chain goes back in one splice, with no work per node. When it
// is the last entity alive, the pool's blocks are freed too and the system takes their memory back.
template <bool Last> void DestroyingAnEntity(benchmark::State& state) {
    const std::int64_t count = state.range(0);
    const auto keeper = Last ? nullptr : std::make_unique<PolyArc3D>();
    for (auto _ : state) {
        state.PauseTiming();
        auto* poly = new PolyArc3D;
        takeNodes(*poly, count);
        state.ResumeTiming();
        delete poly;
    }
    state.SetItemsProcessed(state.iterations() * count);
}
// A fixed number of runs: the untimed filling would otherwise be repeated until the short timed part adds up.
BENCHMARK_TEMPLATE(DestroyingAnEntity, false)->Apply(poolSizes)->Iterations(20);
BENCHMARK_TEMPLATE(DestroyingAnEntity, true)->Apply(poolSizes)->Iterations(20);

// Anchor: as many node-sized records, in an array made beforehand, each linked to the next and cleared: the
// memory limit of touching every node once.
void AnchorClearedRecords(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<Record> records(count);
    linkAndClear(records.data(), count);
    for (auto _ : state)
        linkAndClear(records.data(), count);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(AnchorClearedRecords)->Apply(poolSizes);

// Anchor: the same records in memory allocated for each iteration and given back after it, as the pool's
// blocks are when no entity is left: the cost of memory the system hands out afresh.
void AnchorFreshRecords(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        const auto records = std::make_unique_for_overwrite<Record[]>(count);
        linkAndClear(records.get(), count);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(AnchorFreshRecords)->Apply(poolSizes);

// Anchor: giving back the memory of as many records, written beforehand.
void AnchorFreedRecords(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto records = std::make_unique_for_overwrite<Record[]>(count);
        linkAndClear(records.get(), count);
        state.ResumeTiming();
        records.reset();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(AnchorFreedRecords)->Apply(poolSizes)->Iterations(20);

// Splitting at loops, from ten thousand to a million vertices: an outline that never comes back to a vertex
// (every later vertex a candidate, the case that once grew with the square of the count), and a line with
// a small loop every six vertices.
void loopSizes(benchmark::internal::Benchmark* b) {
    b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}

void wavyOutline(CPolyArc3D& poly, std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i) {
        const double a = 2 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(count);
        const double r = 5000 + 40 * std::sin(a * 300);
        poly.A()->pt = CPoint3d(652000 + r * std::cos(a), 6234000 + r * std::sin(a), 420);
    }
}

void lineWithLoops(CPolyArc3D& poly, std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i) {
        const double x = 652000 + 2.0 * static_cast<double>(i / 6);
        static constexpr double kLoopX[6] = {0, 1, 1, 3.5, 3.5, 1};
        static constexpr double kLoopY[6] = {0, 0, 1.5, 1.5, -1, 0};
        poly.A()->pt = CPoint3d(x + kLoopX[i % 6], 6234000 + kLoopY[i % 6], 420);
    }
}

template <void (*Shape)(CPolyArc3D&, std::int64_t)> void SplitAtLoops(benchmark::State& state) {
    PolyArc3D poly;
    Shape(poly, state.range(0));
    const auto split = [&] {
        CPtrArray pieces;
        const int count = poly.eclate(&pieces, 2);
        for (int i = 0; i < pieces.GetSize(); ++i)
            delete static_cast<CPolyArc3D*>(pieces[i]);
        return count;
    };
    benchmark::DoNotOptimize(split());
    for (auto _ : state)
        benchmark::DoNotOptimize(split());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK_TEMPLATE(SplitAtLoops, wavyOutline)->Apply(loopSizes);
BENCHMARK_TEMPLATE(SplitAtLoops, lineWithLoops)->Apply(loopSizes);

// Anchor: as many plan points sorted by x, the cost of any n log n search among them.
void AnchorSortOfPlanPoints(benchmark::State& state) {
    PolyArc3D poly;
    wavyOutline(poly, state.range(0));
    std::vector<std::pair<double, double>> points;
    for (const P_Vertex* v = poly.H(); v; v = v->pVN)
        points.emplace_back(v->pt.x, v->pt.y);
    auto sorted = points;
    std::sort(sorted.begin(), sorted.end());
    for (auto _ : state) {
        sorted = points;
        std::sort(sorted.begin(), sorted.end());
        benchmark::DoNotOptimize(sorted.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(AnchorSortOfPlanPoints)->Apply(loopSizes);

void fill(CPolyArc3D& poly, int count) {
    for (int i = 0; i < count; ++i) {
        P_Vertex* v = poly.A();
        v->pt.set(652000.0 + i * 0.731, 1234000.0 + (i % 977) * 1.37, 420.0 + (i % 113) * 0.01);
        v->bulge = i % 5 == 0 ? 0.25 : 0.0;
        v->tef1 = static_cast<signed char>(i % 7);
        v->i39 = i % 3 == 0 ? 150000 + i % 1000 : 0;
        v->tag = i;
    }
}

// The entity's DXF groups written and read back (what drawing files and entity lists go through).
void DxfGroupsOfAMillionVertices(benchmark::State& state) {
    PolyArc3D poly;
    fill(poly, kMillion);
    for (auto _ : state) {
        host::DxfGroupFiler out(AcDb::kFileFiler, nullptr);
        poly.dxfOutFields(&out);
        host::DxfGroupFiler in(AcDb::kFileFiler, nullptr, out.groups());
        PolyArc3D back;
        back.dxfInFields(&in);
        benchmark::DoNotOptimize(back.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * kMillion);
}
BENCHMARK(DxfGroupsOfAMillionVertices)->Unit(benchmark::kMillisecond);

// A drawing holding the entity saved as DXF text and opened again.
void DxfDrawingOfAMillionVertices(benchmark::State& state) {
    PolyArc3D::rxInit();
    AcDbDatabase db;
    auto* poly = new PolyArc3D;
    fill(*poly, kMillion);
    AcDbBlockTableRecord* model = nullptr;
    acdbOpenObject(model, db.modelSpaceId(), AcDb::kForWrite);
    model->appendAcDbEntity(poly);
    poly->close();
    model->close();
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string text = host::writeDxf(db);
        AcDbDatabase reopened(false);
        if (host::readDxf(reopened, text) != Acad::eOk) state.SkipWithError("the drawing did not read back");
        size = text.size();
    }
    state.counters["bytes"] = static_cast<double>(size);
    state.SetItemsProcessed(state.iterations() * kMillion);
}
BENCHMARK(DxfDrawingOfAMillionVertices)->Unit(benchmark::kMillisecond);

// The binary record written and read back (copies, undo images, the binary drawing).
void DwgRecordOfAMillionVertices(benchmark::State& state) {
    PolyArc3D poly;
    fill(poly, kMillion);
    for (auto _ : state) {
        host::DwgMemoryFiler filer(AcDb::kFileFiler, nullptr);
        poly.dwgOutFields(&filer);
        filer.rewind();
        PolyArc3D back;
        back.dwgInFields(&filer);
        benchmark::DoNotOptimize(back.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * kMillion);
}
BENCHMARK(DwgRecordOfAMillionVertices)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench_ratios::runWithRatios(
        argc, argv,
        {
            {"NodePoolAlone/{n}", "AnchorClearedRecords/{n}"},
            {"NodePoolTakeAndSplice/{n}", "AnchorClearedRecords/{n}"},
            {"NodePoolTakeInDrawing/{n}", "AnchorClearedRecords/{n}"},
            {"NodePoolTakeAndFreeEach/{n}", "AnchorClearedRecords/{n}"},
            {"NodePoolFromNothing/{n}", "AnchorFreshRecords/{n}"},
            {"DestroyingAnEntity<false>/{n}/iterations:20", "AnchorFreedRecords/{n}/iterations:20"},
            {"DestroyingAnEntity<true>/{n}/iterations:20", "AnchorFreedRecords/{n}/iterations:20"},
            {"SplitAtLoops<wavyOutline>/{n}", "AnchorSortOfPlanPoints/{n}"},
            {"SplitAtLoops<lineWithLoops>/{n}", "AnchorSortOfPlanPoints/{n}"},
        });
}
