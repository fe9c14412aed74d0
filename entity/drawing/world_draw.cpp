// How the registered polyline shows itself: for explode, in proxy graphics and in the views.
#include <cmath>
#include <cwchar>
#include <exception>
#include <memory>
#include <vector>

#include "cadutil/command_line/print.h"
#include "cadutil/database/host_variables.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_classes.h"
#include "entity/drawing/cartographic_styles.h"
#include "entity/drawing/draw_state.h"
#include "entity/drawing/segment_drawing.h"
#include "entity/drawing/style_text.h"
#include "entity/editing/eclate_result.h"
#include "host/entities/lw_polyline.h"

namespace {

using namespace poly_drawing;

constexpr short kOffsetLineMode = 0x100; // entity flag bit: an offset line at 4 pixel sizes
constexpr double kOffsetLinePixels = 4;
constexpr double kFlatTolerance = 1e-4;

// Clears the guard and the regeneration word however the drawing ends.
struct DrawingCall {
    explicit DrawingCall(AcGiRegenType type) {
        g_regenWord = 1;
        g_regenWord = type;
    }
    ~DrawingCall() {
        g_drawGuard = 0;
        g_regenWord = 0;
    }
    DrawingCall(const DrawingCall&) = delete;
    DrawingCall& operator=(const DrawingCall&) = delete;
};

bool isFlat(const CPolyArc3D& poly) {
    const double z = poly.H()->pt.z;
    for (P_Vertex* v = poly.H(); v; v = v->pVN)
        if (std::fabs(v->pt.z - z) > kFlatTolerance) return false;
    return true;
}

// Through a temporary lightweight polyline; false when the conversion gives none.
bool drawAsLightweight(CPolyArc3D& poly, AcGiWorldDraw* draw) {
    std::unique_ptr<AcDbPolyline> lightweight(poly.tolw(0, nullptr));
    if (!lightweight) return false;
    lightweight->worldDraw(draw);
    return true;
}

// The whole polyline, arcs cut into chords, as one polyline without selection markers.
void drawForExplode(CPolyArc3D& poly, AcGiWorldDraw* draw) {
    if (isFlat(poly) && drawAsLightweight(poly, draw)) return;
    AcGePoint3dArray points;
    poly.topts(points, 0);
    const AcGeVector3d normal = poly.Snormal();
    draw->geometry().polyline(static_cast<Adesk::UInt32>(points.length()), points.asArrayPtr(),
                              poly.normalMatrix() ? &normal : nullptr);
}

// Whether some segment has a bulge, a width, a height or a vertex code: then it is drawn segment by segment.
bool needsSegments(const CPolyArc3D& poly) {
    for (P_Vertex* v = poly.H(); v && poly.N(v); v = v->pVN)
        if (v->bulge != 0 || v->i40 != 0 || v->i39 != 0 || v->tef1 != 0 || v->tef2 != 0) return true;
    return false;
}

// All vertices (the head again when closed) as one polyline, marker k on segment k - 1.
void drawPlain(const CPolyArc3D& poly, AcGiWorldDraw* draw) {
    AcGiSubEntityTraits& traits = draw->subEntityTraits();
    traits.setLayer(poly.layerId());
    traits.setColor(poly.colorIndex());
    traits.setLineType(poly.linetypeId());
    traits.setLineTypeScale(poly.linetypeScale());
    traits.setLineWeight(poly.lineWeight());
    std::vector<AcGePoint3d> points;
    for (P_Vertex* v = poly.H(); v; v = v->pVN)
        points.push_back(poly.WorldPoint(v));
    if (poly.N(poly.T())) points.push_back(poly.WorldPoint(poly.H()));
    const AcGeVector3d normal = poly.Snormal();
    draw->geometry().polyline(static_cast<Adesk::UInt32>(points.size()), points.data(), &normal, 1);
}

bool lightweightAsked(AcGiRegenType type) {
    if (type == kAcGiHideOrShadeCommand || type == kAcGiRenderCommand)
        return (g_drawFlag & kDrawLightweightShaded) != 0;
    return (g_drawFlag & kDrawLightweight) != 0;
}

// The hatch or the symbols of the style in the extended data, over the pieces of the polyline. A failure
// has been reported by the style; the polyline stays drawn.
void drawStyle(PolyArc3D& poly, AcGiWorldDraw* draw) {
    const EntityStyle style = entityStyle(poly);
    if (style.kind == StyleKind::None) return;
    try {
        OwnedPieces pieces;
        poly.eclate(&pieces.array, 0);
        if (pieces.size() == 0) return;
        if (style.kind == StyleKind::Hatch) {
            if (pieces[0]->f70() & 1)
                makeHatch(style.spec.c_str(), draw, pieces.size(), pieces.array.GetData(), 0, &poly, nullptr,
                          nullptr, 1);
        } else {
            placeSymbols(style.spec.c_str(), draw, pieces.size(), pieces.array.GetData(), &poly, nullptr, 1);
        }
    } catch (const std::exception&) {
    }
}

void drawInView(PolyArc3D& poly, AcGiWorldDraw* draw, AcGiRegenType type) {
    if (poly.GetCount() < 2) return;
    g_drawGuard = 1;
    try {
        double displayWidth = 0;
        if (poly.f70() & kOffsetLineMode)
            displayWidth = kOffsetLinePixels * getPixelSize();
        else if (lightweightAsked(type) && drawAsLightweight(poly, draw))
            return;
        if (displayWidth == 0 && !needsSegments(poly))
            drawPlain(poly, draw);
        else
            SegmentDrawer(poly, *draw, displayWidth).drawAll();
    } catch (const std::exception&) {
        std::vector<char> linetype(std::wcslen(poly.linetype()) + 1);
        msgprintf("\nProbleme CPolyArc3D::worldDraw sans carto Linetype=%s ",
                  wideToStr(linetype.data(), poly.linetype()));
    }
    if (type == kAcGiStandardDisplay && !(g_drawFlag & kDrawNoStyles)) drawStyle(poly, draw);
}

} // namespace

bool PolyArc3D::subWorldDraw(AcGiWorldDraw* draw) {
    assertReadEnabled();
    const AcGiRegenType type = draw->regenType();
    if (g_drawGuard) {
        g_drawGuard = 0;
        return true;
    }
    DrawingCall call(type);
    // A vertex that is not finite has no place in a view, a proxy picture or an explosion: nothing is drawn.
    if (!H() || !hasSoundVertices()) return true;
    switch (type) {
    case kAcGiForExplode:
        if (GetCount() >= 2) drawForExplode(*this, draw);
        break;
    case kAcGiSaveWorldDrawForProxy:
        if (g_drawFlag & kDrawProxy) drawInView(*this, draw, type);
        break;
    case kAcGiStandardDisplay:
    case kAcGiHideOrShadeCommand:
    case kAcGiRenderCommand:
        drawInView(*this, draw, type);
        break;
    default:
        break;
    }
    return true;
}
