// ZOR_PMOD: the editor on a picked polyline, at the hard start vertex of the segment picked; and the double
// click on a polyline, at the hard vertex nearest to the click.
#include <algorithm>

#include "cadutil/command_line/print.h"
#include "cadutil/command_line/selection.h"
#include "entity/core/poly_arc3d.h"
#include "host/selection/selection_sets.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "plugin/editor/qpoly_edit.h"

namespace {

// The start vertex of segment `marker` (marker k is the segment after vertex k - 1), or the hard vertex
// before it, or after it, when that one is generated; the tail when there is none.
P_Vertex* hardStartOf(const CPolyArc3D& poly, Adesk::GsMarker marker) {
    P_Vertex* v = poly.GetIndex(std::max<std::int64_t>(marker - 1, 0));
    if (v && (v->flags & 1)) {
        P_Vertex* hard = poly.Bxyz(v);
        v = hard ? hard : poly.Nxyz(v);
    }
    return v ? v : poly.T();
}

// The hard vertex nearest in 3-D to a world point, the first of equally near ones; the head when every
// vertex is generated.
P_Vertex* nearestHardVertex(const CPolyArc3D& poly, const AcGePoint3d& picked) {
    const CPoint3d target(picked.x, picked.y, picked.z);
    P_Vertex* nearest = poly.H();
    double best = 1e9;
    for (P_Vertex* v = poly.H(); v; v = v->pVN) {
        if (v->flags & 1) continue;
        const double d = poly.WorldPoint(v).dist3dTo(target);
        if (d < best) {
            best = d;
            nearest = v;
        }
    }
    return nearest;
}

} // namespace

int c_modif_qpoly() {
    setCmdHelp(L"", L"id_Z3D_mod", L"ZORTAPOLY");
    cmdprintf("\nQpolyligne \xe0 Modifier ?(Escape): ");
    AcDbObjectId id;
    Adesk::GsMarker marker = 0;
    if (pickEntity(id, "TAVROPOLY,ZORTAPOLY", &marker) != RTNORM) return 0;
    qpoly_edit editor(id, nullptr, 0);
    if (CPolyArc3D* poly = editor.openWrite()) {
        editor.setWay(hardStartOf(*poly, marker), qpoly_edit::kOneSegment);
        editor.closeEntity();
        editor.edit();
    }
    editor.close();
    return 0;
}

void editPolylineAtPick(const AcDbObjectId& id, const AcGePoint3d& picked) {
    qpoly_edit editor(id, nullptr, 0);
    if (!editor.id.isNull()) {
        acedSSSetFirst(nullptr, nullptr);
        if (CPolyArc3D* poly = editor.openWrite()) {
            editor.current = nearestHardVertex(*poly, picked);
            editor.closeEntity();
            editor.edit();
        }
    }
    editor.close();
}
