// tolw, to2d and to3d: host lightweight, 2-D and 3-D polylines made from the polyline.
#include <cmath>
#include <vector>

#include "entity/conversion/conversion_flags.h"
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/drawing/tef_color.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/polylines.h"
#include "services/output/output.h"
#include "services/startup/fvar.h"

namespace {

// More chords than this in one conversion is a deviation too fine for the drawing: refused.
constexpr double kMostChords = 1'000'000;

// The height of a flat host polyline: the mean of the heights that are known (not 0).
double meanKnownHeight(const CPolyArc3D& poly) {
    double sum = 0;
    int known = 0;
    for (const P_Vertex* v = poly.H(); v; v = v->pVN)
        if (v->pt.z != 0) {
            sum += v->pt.z;
            ++known;
        }
    return known ? sum / known : 0;
}

// A vertex width is an offset to the right of the travel, negative on the left (a reversal turns its sign);
// a host width is a band on both sides and never negative.
double hostWidth(double width) {
    return std::fabs(width);
}

// Chords needed for the arc within the deviation (an estimate from the sagitta of a chord).
double chordsFor(const CArc3d& arc, double deviation) {
    if (arc.radius == 0 || deviation >= arc.radius) return 1;
    const double step = 2 * std::acos(1 - deviation / arc.radius);
    return std::ceil(std::fabs(arc.acentre()) / step);
}

// The chords of an arc, points[first] to the last point, climb evenly from the height of their first point
// to that of their last, as the polyline's own length and listing take them: they are equally spaced along
// the arc, and the inner ones come with the start's height.
void climbAlongArc(CPoint3dArray& points, int first) {
    const int last = points.length() - 1;
    const double startZ = points[first].z, rise = points[last].z - startZ;
    for (int i = first + 1; i < last; ++i)
        points[i].z = startZ + rise * (i - first) / (last - first);
}

// Host entity properties of the polyline, then its place in a database and its extended data, then closed.
void settle(CPolyArc3D& poly, AcDbEntity& made, int flags, AcDbObjectId* id) {
    if (!(flags & conversion::kWithoutProperties)) made.setPropertiesFrom(&poly);
    if (!(flags & conversion::kWithoutXData)) conversion::copyXData(poly, made);
    if (flags & conversion::kReplaceSource)
        conversion::replaceByAppending(poly, made);
    else if (flags & conversion::kAppendToCurrentSpace)
        conversion::appendToCurrentSpace(made);
    if (id) *id = made.objectId();
    made.close();
}

// Layer, linetype and colour of the polyline, whatever the flags.
void takeLook(const CPolyArc3D& poly, AcDbEntity& made) {
    made.setLayer(poly.layer());
    made.setLinetype(poly.linetype());
    made.setColorIndex(poly.colorIndex());
}

} // namespace

AcDbPolyline* CPolyArc3D::tolw(int flags, AcDbObjectId* id) {
    return entity_boundary::guarded(
        "\nProbleme avec CPolyArc3D::tolw()", static_cast<AcDbPolyline*>(nullptr), [&] {
            if (!isCPolyArc3D(this) || !hasSoundVertices()) return static_cast<AcDbPolyline*>(nullptr);
            auto* lw = allocate<AcDbPolyline>();
            if (!lw) return lw;
            if (m_pNormal) lw->setNormal(Snormal());
            lw->setThickness(m_f39);
            const double defaultWidth = hostWidth(m_f42);
            if (defaultWidth != 0) lw->setConstantWidth(defaultWidth);
            // The last vertex takes its end width from the first when the outline comes back to it.
            const bool wraps =
                (m_f70 & 1) || (m_nVertex > 2 && CPoint3d(m_pHead->pt).isEq2dTol(m_pTail->pt, _ecpt));
            unsigned int index = 0;
            for (const P_Vertex* v = m_pHead; v; v = v->pVN, ++index) {
                const double startWidth = v->f40() != 0 ? hostWidth(v->f40()) : defaultWidth;
                const P_Vertex* next = v->pVN ? v->pVN : (wraps ? m_pHead : nullptr);
                const double endWidth = next && next->f40() != 0 ? hostWidth(next->f40()) : startWidth;
                lw->addVertexAt(index, AcGePoint2d(v->pt.x, v->pt.y), v->bulge, startWidth, endWidth);
            }
            lw->setElevation(meanKnownHeight(*this));
            lw->setClosed(m_f70 & 1);
            lw->setPlinegen(true);
            settle(*this, *lw, flags, id);
            return lw;
        });
}

AcDb2dPolyline* CPolyArc3D::to2d(int flags, AcDbObjectId* id) {
    return make2d(flags, id, false);
}

AcDb3dPolyline* CPolyArc3D::to3d(int flags, double maxDeviation, AcDbObjectId* id) {
    return make3d(flags, maxDeviation, id, false);
}

AcDb2dPolyline* CPolyArc3D::make2d(int flags, AcDbObjectId* id, bool colourByCode) {
    return entity_boundary::guarded(
        "\nProbleme avec CPolyArc3D::to2d()", static_cast<AcDb2dPolyline*>(nullptr), [&] {
            if (!isCPolyArc3D(this) || !hasSoundVertices()) return static_cast<AcDb2dPolyline*>(nullptr);
            auto* flat = allocate<AcDb2dPolyline>();
            if (!flat) return flat;
            flat->setThickness(m_f39);
            if (m_pNormal) flat->setNormal(Snormal());
            const double elevation = meanKnownHeight(*this);
            flat->setElevation(elevation);
            flat->setColorIndex(colorIndex());
            for (const P_Vertex* v = m_pHead; v; v = v->pVN) {
                const double width = hostWidth(v->f40());
                auto* vertex =
                    new AcDb2dVertex(AcGePoint3d(v->pt.x, v->pt.y, elevation), v->bulge, width, width);
                if (colourByCode) vertex->setColorIndex(tefColor(v, colorIndex()));
                flat->appendVertex(vertex);
            }
            takeLook(*this, *flat);
            if (m_f70 & 1) flat->makeClosed();
            settle(*this, *flat, flags, id);
            return flat;
        });
}

AcDb3dPolyline* CPolyArc3D::make3d(int flags, double maxDeviation, AcDbObjectId* id, bool colourByCode) {
    return entity_boundary::guarded(
        "\nProbleme avec CPolyArc3D::to3d()", static_cast<AcDb3dPolyline*>(nullptr), [&] {
            if (!isCPolyArc3D(this) || !hasSoundVertices() || std::isnan(maxDeviation))
                return static_cast<AcDb3dPolyline*>(nullptr);
            // The coloured conversion cuts arcs for any deviation but 0, a negative one at the library's.
            const bool tessellate = colourByCode ? maxDeviation != 0 : maxDeviation > 0;
            if (maxDeviation < 0) maxDeviation = vfVar.maxSagitta;
            CPoint3dArray points;
            std::vector<const P_Vertex*> sources;
            double chords = 0;
            for (P_Vertex* v = m_pHead; v; v = v->pVN) {
                const P_Vertex* next = N(v);
                if (!tessellate || v->bulge == 0 || !next) {
                    points.append(v->pt);
                    sources.push_back(v);
                    ++chords;
                    continue;
                }
                CArc3d arc(v, next->pt);
                chords += chordsFor(arc, maxDeviation);
                if (chords > kMostChords) {
                    mprintf("\nFleche maxi trop petite : plus d'un million de points");
                    return static_cast<AcDb3dPolyline*>(nullptr);
                }
                const int first = points.length();
                if (arc.segments(points, maxDeviation) > 1) {
                    climbAlongArc(points, first);
                    points.removeLast();
                }
                sources.resize(points.length(), v);
            }
            auto* solid = allocate<AcDb3dPolyline>();
            if (!solid) return solid;
            solid->setColorIndex(colorIndex());
            for (int i = 0; i < points.length(); ++i) {
                auto* vertex = new AcDb3dPolylineVertex(WorldPoint(&points[i]));
                vertex->setLayer(layer());
                if (colourByCode) vertex->setColorIndex(tefColor(sources[i], colorIndex()));
                solid->appendVertex(vertex);
            }
            if (m_f70 & 1) solid->makeClosed();
            takeLook(*this, *solid);
            settle(*this, *solid, flags, id);
            return solid;
        });
}
