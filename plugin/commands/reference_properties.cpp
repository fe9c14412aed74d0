// ZOR_PAS: the properties of a picked reference (layer, colour, linetype, lineweight, linetype scale and
// thickness) made current, then a new polyline digitised with them.
#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/command_line/selection.h"
#include "cadutil/database/layers.h"
#include "cadutil/database/spaces.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_classes.h"
#include "host/db/database.h"
#include "host/entities/circle_arc.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/input/prompts.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "plugin/commands/command_state.h"
#include "plugin/editor/qpoly_edit.h"
#include "services/startup/fvar.h"

namespace {

// Mode 1: the part of the reference's layer name after its "$" (when the "$" is not its first character),
// behind the zone-name override when there is one.
std::string currentLayerName(const std::string& layer) {
    if (command_state::g_referenceMode != 1) return layer;
    const std::size_t dollar = layer.find('$', 1);
    const std::string base = dollar == std::string::npos ? layer : layer.substr(dollar + 1);
    return std::string(vfVar.zoneNameOverride) + base;
}

double thicknessOf(const AcDbCurve* reference) {
    if (const CPolyArc3D* poly = CPolyArc3D::cast(reference)) return poly->f42();
    if (const auto* lw = AcDbPolyline::cast(reference)) return lw->thickness();
    if (const auto* line = AcDbLine::cast(reference)) return line->thickness();
    if (const auto* circle = AcDbCircle::cast(reference)) return circle->thickness();
    if (const auto* arc = AcDbArc::cast(reference)) return arc->thickness();
    return 0;
}

void takePropertiesOf(const AcDbCurve& reference) {
    AcDbDatabase* db = workingDatabase();
    if (!db) return;
    char layerName[512];
    const std::wstring layer = reference.layer();
    if (layer.size() >= sizeof layerName) return;
    AcDbObjectId layerId;
    if (getLayerId(currentLayerName(wideToStr(layerName, layer.c_str())).c_str(), layerId) == Acad::eOk)
        db->setClayer(layerId);
    db->setCecolor(AcCmColor(reference.colorIndex()));
    db->setCeltype(reference.linetypeId());
    db->setCelweight(reference.lineWeight());
    db->setCeltscale(reference.linetypeScale());
    db->setThickness(thicknessOf(&reference));
}

// Picks the reference, offering the mode on Enter; false when the command ends.
bool pickReference(AcDbObjectId& id) {
    for (;;) {
        cmdprintf("\n Polyligne de r\xe9"
                  "f\xe9rence pxref=%s (Enter=Options;ESC=Cancel) ?",
                  command_state::g_referenceMode == 1 ? "Courante"
                                                      : "Inchang\xe9"
                                                        "e");
        const int rc = pickEntity(id, "TAVROPOLY,ZORTAPOLY,LINE,ARC,LWPOLYLINE");
        if (rc == RTNORM) return true;
        if (rc != RTERROR) return false;
        acedInitGet(0, L"C I _ C S");
        ACHAR answer[10] = {};
        const int answered = acedGetKword(L"\nAfectation du pxref:(C)ourant,(I)nchangé", answer, 10);
        if (answered == RTCAN) return false;
        if (answered == RTNORM) command_state::g_referenceMode = answer[0] == L'C' ? 1 : 0;
    }
}

} // namespace

int c_get_comme() {
    setCmdHelp(L"", L"ID_Z3D_AS", L"ZORTAPOLY");
    AcDbObjectId id;
    if (!pickReference(id)) return 0;
    AcDbCurve* reference = nullptr;
    if (acdbOpenObject(reference, id, AcDb::kForRead) != Acad::eOk) return 0;
    takePropertiesOf(*reference);
    reference->close();
    command_state::g_lastKind = 2;
    PolyArc3D polyTemplate;
    qpoly_edit editor(AcDbObjectId(), &polyTemplate, 0);
    if (!editor.id.isNull()) editor.edit();
    editor.close();
    return 0;
}
