// Commands over every entity of a drawing of 10,000 to 1,000,000 lightweight polylines, typed at the command
// line as a user does: selecting all, erasing all, moving all, and converting all into polylines of the
// system. Beside them, in the same run, a plain loop opening each entity once, and the drawing saved to DXF
// and opened again. Items are entities; the spread of the time per item across sizes shows the growth.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "cadutil/database/spaces.h"
#include "entity/core/poly_classes.h"
#include "host/db/database.h"
#include "host/editor/command_line.h"
#include "host/editor/documents.h"
#include "host/editor/editor_commands.h"
#include "host/editor/editor_reset.h"
#include "host/entities/lw_polyline.h"
#include "host/filing/dxf_file.h"
#include "host/input/input_queue.h"
#include "host/input/script_line.h"
#include "plugin/app/command_handlers.h"
#include "ratio_reporter.h"

namespace {

// A drawing with its document and `count` small polylines in model space, and the conversion command.
class Drawing {
public:
    explicit Drawing(int count) {
        host::resetEditor();
        PolyArc3D::rxInit();
        acedRegCmds->addCommand(L"BENCH", L"ZOR_PCONVERT", L"ZOR_PCONVERT", 0, [] { c_convert(); });
        acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
        acDocManager->openDocument(m_db.get(), L"bench.dxf");
        for (int i = 0; i < count; ++i) {
            auto* lw = new AcDbPolyline;
            const double x = (i % 1000) * 10.0, y = (i / 1000) * 10.0;
            lw->addVertexAt(0, AcGePoint2d(x, y));
            lw->addVertexAt(1, AcGePoint2d(x + 5, y));
            lw->addVertexAt(2, AcGePoint2d(x + 5, y + 5));
            AcDbObjectId id;
            appendEntityToSpace(id, lw, 1, m_db.get());
            lw->close();
            m_ids.push_back(id);
        }
    }
    ~Drawing() {
        host::resetEditor();
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        m_db.reset();
        PolyArc3D::rxUninit();
    }
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    AcDbDatabase& db() { return *m_db; }
    const std::vector<AcDbObjectId>& ids() const { return m_ids; }

private:
    std::unique_ptr<AcDbDatabase> m_db = std::make_unique<AcDbDatabase>();
    std::vector<AcDbObjectId> m_ids;
};

// The script lines queued, then run at the command line.
void typeAndRun(const std::vector<std::wstring>& lines) {
    std::vector<host::InputItem> items;
    for (const std::wstring& line : lines) {
        std::wstring error;
        if (!host::parseScriptLine(line, items, error)) std::fprintf(stderr, "bad bench line\n");
    }
    for (host::InputItem& item : items)
        host::inputQueue().push(std::move(item));
    host::runCommandLine();
}

// Each iteration on a fresh drawing, made outside the timing.
void commandOnAll(benchmark::State& state, const std::vector<std::wstring>& lines) {
    const auto count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto drawing = std::make_unique<Drawing>(count);
        state.ResumeTiming();
        typeAndRun(lines);
        state.PauseTiming();
        drawing.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void SelectAll(benchmark::State& state) {
    commandOnAll(state, {L"SELECT", L"@select all", L""});
}
void SelectAndEraseAll(benchmark::State& state) {
    commandOnAll(state, {L"SELECT", L"@select all", L"", L"ERASE", L"@select all", L""});
}
void MoveAll(benchmark::State& state) {
    commandOnAll(state, {L"MOVE", L"@select all", L"", L"0,0", L"10,10"});
}
void ConvertAll(benchmark::State& state) {
    commandOnAll(state, {L"ZOR_PCONVERT", L"A", L"@select all", L""});
}

// The anchor: each entity opened for read, its vertex count read, closed.
void PlainLoop(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    Drawing drawing(count);
    for (auto _ : state) {
        unsigned int vertices = 0;
        for (AcDbObjectId id : drawing.ids()) {
            AcDbPolyline* lw = nullptr;
            if (acdbOpenObject(lw, id, AcDb::kForRead) != Acad::eOk) continue;
            vertices += lw->numVerts();
            lw->close();
        }
        benchmark::DoNotOptimize(vertices);
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// The other anchor: the drawing saved as DXF and opened again.
void SaveAndOpen(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    Drawing drawing(count);
    const std::wstring file = L"/tmp/whole_drawing_bench_" + std::to_wstring(getpid()) + L".dxf";
    for (auto _ : state) {
        host::writeDxfFile(drawing.db(), file);
        AcDbDatabase opened(false);
        benchmark::DoNotOptimize(opened.readDwgFile(file.c_str()));
    }
    std::remove(std::string(file.begin(), file.end()).c_str());
    state.SetItemsProcessed(state.iterations() * count);
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}
BENCHMARK(SelectAll)->Apply(sizes);
BENCHMARK(SelectAndEraseAll)->Apply(sizes);
BENCHMARK(MoveAll)->Apply(sizes);
BENCHMARK(ConvertAll)->Apply(sizes);
BENCHMARK(PlainLoop)->Apply(sizes);
BENCHMARK(SaveAndOpen)->Apply(sizes);

} // namespace

int main(int argc, char** argv) {
    return bench_ratios::runWithRatios(argc, argv,
                                       {{"SelectAll/{n}", "PlainLoop/{n}"},
                                        {"SelectAndEraseAll/{n}", "SaveAndOpen/{n}"},
                                        {"MoveAll/{n}", "PlainLoop/{n}"},
                                        {"ConvertAll/{n}", "PlainLoop/{n}"}});
}
