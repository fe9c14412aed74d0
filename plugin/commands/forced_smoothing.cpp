// ZOR_POLYLISS: the selected polylines smoothed, straight segments too when the user asks.
#include "cadutil/command_line/print.h"
#include "cadutil/command_line/prompt_defaults.h"
#include "entity/core/poly_arc3d.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "plugin/commands/command_state.h"
#include "plugin/commands/polyline_batch.h"

int c_PolyLisse() {
    setCmdHelp(L"", L"ID_Z3D_POLYLISSE", nullptr);
    cmdprintf("\nLissage force des ZORTQPOLY ");
    PolylineBatch batch;
    if (!batch.select()) return 0;
    g_smoothLinesAnswer = askSmoothLines();
    if (g_smoothLinesAnswer < 0) return 0;
    int changed = 0, added = 0;
    batch.forEach([&](CPolyArc3D& poly) {
        // A straight segment takes part in the smoothing once it bends, however little.
        if (g_smoothLinesAnswer == 6)
            for (P_Vertex* v = poly.H(); v; v = v->pVN)
                if (v->bulge == 0) v->bulge = 0.01;
        const int n = poly.maj(4, 0, 0);
        if (n > 0) {
            ++changed;
            added += n;
        }
    });
    if (changed == 0) return 0;
    cmdprintf("\n==== %d %s Modifi\xe9"
              "es ",
              changed, command_state::lastKindName());
    cmdprintf(" ; **** %d  sommets Ajout\xe9s ****", added);
    return 0;
}
