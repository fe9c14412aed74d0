// The polyline entity: its node pool, and filing an entity of a million vertices.
#include <benchmark/benchmark.h>

#include <string>

#include "entity/core/poly_classes.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_file.h"
#include "host/filing/dxf_filer.h"

namespace {

constexpr int kTenMillion = 10'000'000;
constexpr int kMillion = 1'000'000;

void takeNodes(CPolyArc3D& poly, int count) {
    for (int i = 0; i < count; ++i)
        poly.A();
}

// A live entity that keeps the pool's blocks, already made for ten million nodes.
struct WarmPool {
    WarmPool() {
        PolyArc3D poly;
        takeNodes(poly, kTenMillion);
    }
    PolyArc3D keeper;
};

// Takes ten million nodes, then gives them back in one splice.
void NodePoolTakeAndSplice(benchmark::State& state) {
    WarmPool pool;
    for (auto _ : state) {
        PolyArc3D poly;
        takeNodes(poly, kTenMillion);
        poly.RemoveAll();
    }
    state.SetItemsProcessed(state.iterations() * kTenMillion);
}
BENCHMARK(NodePoolTakeAndSplice)->Unit(benchmark::kMillisecond);

// The same nodes given back one by one, from the tail.
void NodePoolTakeAndFreeEach(benchmark::State& state) {
    WarmPool pool;
    for (auto _ : state) {
        PolyArc3D poly;
        takeNodes(poly, kTenMillion);
        for (int i = 0; i < kTenMillion; ++i)
            poly.D();
    }
    state.SetItemsProcessed(state.iterations() * kTenMillion);
}
BENCHMARK(NodePoolTakeAndFreeEach)->Unit(benchmark::kMillisecond);

// With no entity alive in between, every iteration makes and frees its blocks.
void NodePoolFromNothing(benchmark::State& state) {
    for (auto _ : state) {
        PolyArc3D poly;
        takeNodes(poly, kTenMillion);
    }
    state.SetItemsProcessed(state.iterations() * kTenMillion);
}
BENCHMARK(NodePoolFromNothing)->Unit(benchmark::kMillisecond);

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

BENCHMARK_MAIN();
