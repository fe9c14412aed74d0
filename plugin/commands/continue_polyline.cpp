// ZOR_PSUIT and ZOR_PRACORD: the editor continues a picked polyline at its end nearer to the pick; a polyline
// of another zone is continued by a new polyline on the current zone's layer when ZOR_PRACORD runs (or the
// zone callback accepts), joined to it at that end.
#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/command_line/selection.h"
#include "cadutil/database/host_variables.h"
#include "cadutil/database/layers.h"
#include "cadutil/database/spaces.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_arc3d.h"
#include "host/db/database.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "plugin/commands/command_state.h"
#include "plugin/editor/cursor_position.h"
#include "plugin/editor/qpoly_edit.h"
#include "services/startup/fvar.h"
#include "services/str/str.h"

namespace {

struct ZoneParts {
    std::string zone;
    std::string base;
};

ZoneParts zonePartsOf(const std::string& layer) {
    const std::size_t dollar = layer.find('$');
    if (dollar == std::string::npos) return {layer, layer};
    return {layer.substr(0, dollar), layer.substr(dollar + 1)};
}

bool sameText(std::string a, std::string b) {
    STR::Majuscules(a.data());
    STR::Majuscules(b.data());
    return a == b;
}

// Whether a polyline of that layer is continued by a new one on the current zone's layer.
bool connectsToZone(const std::string& layer) {
    if (layer.empty() || layer[0] == '$' || sameText(zonePartsOf(layer).zone, getZoneName())) return false;
    if (g_connectFlag == 1) return true;
    const command_state::ZoneCallback accepts = command_state::zoneCallback();
    return accepts && accepts(layer.c_str()) == 1;
}

// The new polyline that continues `old` from its end `end`, on the current zone's layer; its id, null when
// it could not be added.
AcDbObjectId startConnected(CPolyArc3D& old, const P_Vertex* end, int direction, const std::string& layer) {
    AcDbDatabase* db = workingDatabase();
    AcDbObjectId layerId;
    if (db &&
        getLayerId((std::string(getZoneName()) + zonePartsOf(layer).base).c_str(), layerId) == Acad::eOk)
        db->setClayer(layerId);
    if (db) {
        db->setCecolor(AcCmColor(old.colorIndex()));
        db->setCeltype(old.linetypeId());
    }
    CPolyArc3D* fresh = old.newCPolyArc3D();
    if (!fresh) return AcDbObjectId();
    // The current layer, colour and linetype just set.
    if (db) fresh->setDatabaseDefaults(db);
    fresh->setSNormal(old.Snormal(), 0);
    fresh->A(end);
    // A generated vertex next to the end, towards the inside, carries on as one.
    const P_Vertex* inner = direction > 0 ? end->pVB : end->pVN;
    if (inner && (inner->flags & 1)) fresh->A(end)->flags = 1;
    resbuf* xdata = old.xData();
    if (xdata) {
        fresh->setXData(xdata);
        acutRelRb(xdata);
    }
    AcDbObjectId id;
    if (appendEntityToSpace(id, fresh, -1).isNull()) {
        delete fresh;
        return AcDbObjectId();
    }
    fresh->close();
    return id;
}

} // namespace

int c_pst_qpoly() {
    setCmdHelp(L"", L"ID_Z3D_suit", L"ZORTAPOLY");
    cmdprintf(g_connectFlag == 1 ? "\nQpolyligne \xe0 Raccorder ? (Escape): "
                                 : "\nQpolyligne \xe0 Poursuivre ? (Escape): ");
    AcDbObjectId id;
    AcGePoint3d pick, snap;
    if (pickEntity(id, "TAVROPOLY,ZORTAPOLY", nullptr, &pick, &snap) != RTNORM) return 0;
    CPolyArc3D* poly = nullptr;
    if (acdbOpenObject(poly, id, AcDb::kForWrite) != Acad::eOk) return 0;
    command_state::noteKind(poly->kindWord());
    char name[512] = {};
    const std::wstring wideLayer = poly->layer();
    const std::string layer = wideLayer.size() < sizeof name ? wideToStr(name, wideLayer.c_str()) : "";
    CPoint3d at = CPoint3d(snap.x, snap.y, snap.z);
    double along = 0;
    poly->ptAtPoint(nullptr, &at, 0.001, 0, nullptr, nullptr, nullptr, &along);
    const bool nearStart = along < poly->getLen(0, 0, 0, nullptr) / 2;
    const int direction = nearStart ? -1 : 1;
    P_Vertex* end = nearStart ? poly->H() : poly->T();
    AcDbObjectId edited = id;
    if (end && connectsToZone(layer)) {
        const AcDbObjectId fresh = startConnected(*poly, end, direction, layer);
        if (!fresh.isNull()) edited = fresh;
    }
    const CPoint3d cursor = end ? poly->WorldPoint(end) : CPoint3d();
    // The editor opens the polyline for itself: nothing stays open across its prompts.
    poly->close();
    qpoly_edit editor(edited, nullptr, 0);
    if (CPolyArc3D* session = editor.openWrite()) {
        editor.current = edited == id ? (nearStart ? session->H() : session->T()) : session->T();
        editor.direction = edited == id ? direction : 1;
        editor.closeEntity();
        if (vfVar.moduleHandle) setCursorPos(cursor);
        editor.edit();
    }
    editor.close();
    return 0;
}
