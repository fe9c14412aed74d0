// ZOR_PZ: the unknown heights of the selected polylines interpolated between the known ones.
#include "cadutil/command_line/print.h"
#include "entity/core/poly_arc3d.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "plugin/commands/polyline_batch.h"

namespace {

bool holdsZeroHeight(const CPolyArc3D& poly) {
    for (const P_Vertex* v = poly.H(); v; v = v->pVN)
        if (v->pt.z == 0) return true;
    return false;
}

} // namespace

int c_polyz() {
    setCmdHelp(L"", L"id_Z3D_PZ", L"ZORTAPOLY");
    cmdprintf("\n== Recalcul des Altitudes d'une S\xe9lection de Polylines :");
    PolylineBatch batch;
    if (!batch.select()) return 0;
    int withZeroHeight = 0;
    const int done = batch.forEach([&](CPolyArc3D& poly) {
        poly.epolyz(-1e10, 1e10);
        if (holdsZeroHeight(poly)) ++withZeroHeight;
    });
    if (done == 0) return 0;
    cmdprintf("\n==== %d Polylignes recalcul\xe9"
              "es en Z ",
              done);
    if (withZeroHeight)
        cmdprintf(" ; **** %d  Ont au moins un Z NULL ****", withZeroHeight);
    else
        cmdprintf(" ALTITUDES VALIDES");
    return 0;
}
