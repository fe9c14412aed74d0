// ZOR_EPUREPTS: aligned and close vertices removed from the selected polylines.
#include "cadutil/command_line/print.h"
#include "cadutil/command_line/prompt_defaults.h"
#include "entity/core/poly_arc3d.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "plugin/commands/command_state.h"
#include "plugin/commands/polyline_batch.h"

int c_EpurePoints() {
    setCmdHelp(L"", L"ID_Z3D_EPUR_PTS", nullptr);
    cmdprintf("\n %s \xe0 Epur\xe9 (supression de points allign\xe9s,proches...) :",
              command_state::lastKindName());
    PolylineBatch batch;
    if (!batch.select()) return 0;
    command_state::CleanupTolerances& t = command_state::g_cleanup;
    if (getr_def("Tol\xe9rance en XY (0 si pas de test) ", &t.xy) == RTCAN ||
        getr_def("Tol\xe9rance en Z (0 si pas de test) ", &t.z) == RTCAN ||
        getr_def("Distance Mini entre 2 sommets (0 si pas de test) ", &t.minDistance) == RTCAN ||
        getr_def("Distance Maxi entre 2 sommets (0 si pas de test) ", &t.maxDistance) == RTCAN)
        return 0;
    int removed = 0;
    batch.forEach(
        [&](CPolyArc3D& poly) { removed += poly.EpurePts(t.xy, t.z, t.minDistance, t.maxDistance, 14); });
    if (removed > 0) cmdprintf(" ; **** %d  sommets Epur\xe9s ****", removed);
    return 0;
}
