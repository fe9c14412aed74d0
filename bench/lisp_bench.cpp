// The LISP functions walking a polyline name by name: ZOR_VNEXT and ZOR_VGET over every vertex, through the
// plug-in's dispatch, at three sizes (vertices per second must not fall as the polyline grows). The anchor
// is a plain walk of the same node list copying each vertex's fields into a list of host result buffers.
// The evaluator's own loop, (repeat 3000000 (setq i (1+ i))), has for anchor python3 running the same steps,
// timed inside python3 so that its start is not counted. A routine gathering every entity of a drawing into
// a set with SSADD has for anchor a plain walk of the same entities name by name; their ratio must not grow
// with the drawing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "cadutil/database/spaces.h"
#include "entity/core/poly_classes.h"
#include "host/db/database.h"
#include "host/entities/line.h"
#include "host/lisp/entity_lists.h"
#include "host/lisp/lisp_eval.h"
#include "host/lisp/lisp_functions.h"
#include "host/lisp/lisp_symbols.h"
#include "host/lisp/lisp_text.h"
#include "host/lisp/lisp_value.h"
#include "plugin/app/lisp_table.h"
#include "ratio_reporter.h"

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
BENCHMARK(LispWalkVnextVget)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

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
BENCHMARK(PlainWalkIntoResultBuffers)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

// A drawing of n lines in model space.
struct Lines {
    explicit Lines(int n) : db(std::make_unique<AcDbDatabase>()) {
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        for (int i = 0; i < n; ++i) {
            AcDbObjectId id;
            auto* line = new AcDbLine(AcGePoint3d(i, 0, 0), AcGePoint3d(i, 1, 0));
            appendEntityToSpace(id, line, 1, db.get());
            line->close();
        }
    }
    ~Lines() { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }
    std::unique_ptr<AcDbDatabase> db;
};

void LispSsaddLoop(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Lines drawing(n);
    const std::vector<LispValue> forms = host::readLisp(
        L"(setq ss (ssadd) e (entnext)) (while e (ssadd e ss) (setq e (entnext e))) (sslength ss)");
    for (auto _ : state) {
        LispValue last;
        for (const LispValue& form : forms)
            last = host::evaluateLisp(form);
        if (last.integer != n) state.SkipWithError("the set missed entities");
        host::setLispSymbol(L"SS", LispValue::nil());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(LispSsaddLoop)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void PlainEntityWalk(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Lines drawing(n);
    for (auto _ : state) {
        int walked = 0;
        ads_name e;
        for (int rc = acdbEntNext(nullptr, e); rc == RTNORM; rc = acdbEntNext(e, e))
            ++walked;
        if (walked != n) state.SkipWithError("the walk missed entities");
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(PlainEntityWalk)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void LispRepeatLoop(benchmark::State& state) {
    const std::vector<LispValue> forms = host::readLisp(L"(setq i 0) (repeat 3000000 (setq i (1+ i)))");
    for (auto _ : state) {
        LispValue last;
        for (const LispValue& form : forms)
            last = host::evaluateLisp(form);
        if (last.integer != 3'000'000) state.SkipWithError("the loop did not count to its end");
    }
}
BENCHMARK(LispRepeatLoop)->Unit(benchmark::kMillisecond);

// The anchor: python3's loop of the same steps; it reports its own time.
void PythonRepeatLoop(benchmark::State& state) {
    for (auto _ : state) {
        std::FILE* python = popen("/usr/bin/python3 -c 'import time\nt=time.perf_counter()\ni=0\n"
                                  "for _ in range(3000000): i=i+1\nprint(time.perf_counter()-t)'",
                                  "r");
        double seconds = 0;
        if (!python || std::fscanf(python, "%lf", &seconds) != 1) state.SkipWithError("python3 did not run");
        if (python) pclose(python);
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(PythonRepeatLoop)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench_ratios::runWithRatios(argc, argv,
                                       {{"LispWalkVnextVget/{n}", "PlainWalkIntoResultBuffers/{n}"},
                                        {"LispSsaddLoop/{n}", "PlainEntityWalk/{n}"},
                                        {"LispRepeatLoop", "PythonRepeatLoop/manual_time"}});
}
