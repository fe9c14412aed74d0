// The LISP functions walking a polyline name by name: ZOR_VNEXT and ZOR_VGET over every vertex, through the
// plug-in's dispatch, at three sizes (vertices per second must not fall as the polyline grows). The anchor
// is a plain walk of the same node list copying each vertex's fields into a list of host result buffers.
#include <benchmark/benchmark.h>

#include <memory>

#include "cadutil/database/spaces.h"
#include "entity/core/poly_classes.h"
#include "host/db/database.h"
#include "host/lisp/lisp_functions.h"
#include "host/lisp/lisp_value.h"
#include "plugin/app/lisp_table.h"

namespace {

using host::LispValue;

int codeOf(const wchar_t* name) {
    int code = 0;
    while (g_LispFuncTable[code].name && std::wcscmp(g_LispFuncTable[code].name, name) != 0)
        ++code;
    return code;
}

LispValue call(int code, const LispValue& arg) {
    resbuf* chain = host::toResbufs({arg});
    LispValue value = host::answerCall(code, chain, [] { invokeLispFunction(); });
    acutRelRb(chain);
    return value;
}

// A drawing whose model space holds one polyline of n vertices.
struct Drawing {
    explicit Drawing(int n) : db(std::make_unique<AcDbDatabase>()) {
        PolyArc3D::rxInit();
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        auto* poly = new PolyArc3D;
        for (int i = 0; i < n; ++i) {
            P_Vertex* v = poly->A();
            v->pt.set(652000.0 + i * 0.731, 1234000.0 + (i % 977) * 1.37, 420.0 + (i % 113) * 0.01);
            v->bulge = i % 5 == 0 ? 0.25 : 0.0;
            v->tef1 = static_cast<signed char>(i % 7);
            v->i40 = i % 3 == 0 ? 30000 : 0;
        }
        appendEntityToSpace(id, poly, 1, db.get());
        poly->close();
    }
    ~Drawing() {
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        db.reset();
        PolyArc3D::rxUninit();
    }
    LispValue name() const {
        ads_name n;
        acdbGetAdsName(n, id);
        return LispValue::fromName(n);
    }
    std::unique_ptr<AcDbDatabase> db;
    AcDbObjectId id;
};

void LispWalkVnextVget(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Drawing drawing(n);
    const int entnext = codeOf(L"ZOR_ENTNEXT"), vnext = codeOf(L"ZOR_VNEXT"), vget = codeOf(L"ZOR_VGET");
    for (auto _ : state) {
        int walked = 0;
        for (LispValue v = call(entnext, drawing.name()); !v.isNil(); v = call(vnext, v), ++walked)
            benchmark::DoNotOptimize(call(vget, v));
        if (walked != n) state.SkipWithError("the walk missed vertices");
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(LispWalkVnextVget)->Arg(10'000)->Arg(100'000)->Arg(400'000)->Unit(benchmark::kMillisecond);

// The anchor: each vertex's fields into a fresh chain of host result buffers, released at once.
void PlainWalkIntoResultBuffers(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Drawing drawing(n);
    AcDbEntity* entity = nullptr;
    acdbOpenObject(entity, drawing.id, AcDb::kForRead);
    const CPolyArc3D* poly = CPolyArc3D::cast(entity);
    for (auto _ : state) {
        for (const P_Vertex* v = poly->H(); v; v = v->N()) {
            resbuf* point = acutNewRb(10);
            point->resval.rpoint[0] = v->pt.x;
            point->resval.rpoint[1] = v->pt.y;
            point->resval.rpoint[2] = v->pt.z;
            resbuf* bulge = point->rbnext = acutNewRb(42);
            bulge->resval.rreal = v->bulge;
            benchmark::DoNotOptimize(point);
            acutRelRb(point);
        }
    }
    entity->close();
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(PlainWalkIntoResultBuffers)->Arg(10'000)->Arg(100'000)->Arg(400'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
