// ZOR_LISSNIV: each inner vertex of the selected polylines moved to the mean of a window of its neighbours,
// as they were before the pass; generated vertices (flag word exactly 1) are left out and then recomputed.
#include <algorithm>
#include <vector>

#include "cadutil/command_line/print.h"
#include "cadutil/command_line/prompt_defaults.h"
#include "entity/core/poly_arc3d.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "plugin/commands/command_state.h"
#include "plugin/commands/polyline_batch.h"

namespace {

// Each listed vertex but the two ends takes the mean of up to `count` listed vertices around it, the window
// centred as far as the ends allow; `count` at least 1.
void averageLevels(CPolyArc3D& poly, int count) {
    std::vector<P_Vertex*> vertices;
    bool bulged = false;
    for (P_Vertex* v = poly.H(); v; v = v->pVN) {
        if (v->flags == 1) continue;
        vertices.push_back(v);
        bulged = bulged || v->bulge != 0;
    }
    std::vector<CPoint3d> before;
    for (const P_Vertex* v : vertices)
        before.push_back(v->pt);
    const int n = static_cast<int>(vertices.size());
    for (int k = 1; k < n - 1; ++k) {
        const int d = std::min({k, n - k, count / 2});
        const int end = std::min({k + count - d, k + 1 + d, n});
        CPoint3d sum(0, 0, 0);
        for (int i = k - d; i < end; ++i)
            sum = sum + before[i];
        const double size = end - (k - d);
        vertices[k]->pt = CPoint3d(sum.x / size, sum.y / size, sum.z / size);
    }
    if (bulged) poly.lisse(nullptr, nullptr, -1000, -1000);
}

} // namespace

int c_LisseCNiv() {
    setCmdHelp(L"", L"ID_Z3D_LISSENIV", nullptr);
    cmdprintf("\nMoyenne les XYZ de points pour lisser ");
    int count = command_state::g_averagingCount;
    if (geti_def("Nombre de point \xe0 Moyenner (4= 2 arri\xe8re et 1 Avant", &count) == RTCAN) return 0;
    // A window of no point has no mean, nor is it worth remembering.
    if (count < 1) return 0;
    command_state::g_averagingCount = count;
    PolylineBatch batch;
    if (!batch.select()) return 0;
    const int done = batch.forEach([&](CPolyArc3D& poly) { averageLevels(poly, count); });
    if (done)
        cmdprintf("\n==== %d %s Trait\xe9"
                  "es ",
                  done, command_state::lastKindName());
    return 0;
}
