// LIST on the polyline: its header, extended data, lengths and area, then one block per vertex, with a
// pause every 50 blocks.
#include "cadutil/command_line/print.h"
#include "cadutil/resbuf/cresbuf.h"
#include "entity/core/boundary.h"
#include "entity/core/class_state.h"
#include "entity/core/poly_arc3d.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"
#include "host/db/resbuf.h"
#include "host/editor/ucs.h"
#include "host/input/prompts.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int kBlocksPerPage = 50;

void printTotals(double planLength, double length3d, double area) {
    g_printHook("\nCumul dist 2d =%10.4f  Cumul dist 3d =%10.4f Surface =%.2f \n", planLength, length3d,
                area);
}

// The bearing of a direction in grads, clockwise from north, in [0, 400).
double bearing(double gis) {
    return std::fmod(std::fmod(gis * radian_en_grade + 100, 400) + 400, 400);
}

} // namespace

void CPolyArc3D::subList() const {
    assertReadEnabled();
    try {
        AcDbCurve::subList();
        static const char* const conversions[] = {"", "(>Decompos) ", "(>2D) ", "(>3D) "};
        g_printHook("%s%s%s", (m_f70 & 1) ? "Close " : "Ouverte ", conversions[m_f71 & 3],
                    measuresInPlan() ? "(Dist2D) " : "(Dist3D) ");
        g_printHook("%s %d Sommets H=%10.4f A.Lissage=%.4f ",
                    entity_state::lastKind == kTavroKind ? "TAVROPOLY" : "ZORTAPOLY", m_nVertex, m_f39,
                    m_f43);
        if (m_f42 != 0) g_printHook("larg.def=%.4f ", m_f42);
        if (m_pNormal) {
            const AcGeVector3d n = Snormal();
            g_printHook("\nVecteur Normal: %.7f,%.7f,%.7f", n.x, n.y, n.z);
        }
        if (resbuf* data = xData(nullptr)) {
            Cresbuf listed;
            listed.Append(data);
            listed.Dump();
        }
        double planLength = 0;
        const double area = getArea(&planLength);
        const double length3d = getLen(1, 0, 0, nullptr);
        printTotals(planLength, length3d, area);

        int block = 0;
        for (const P_Vertex* v = m_pHead; v; v = v->pVN) {
            if (block > 0 && block % kBlocksPerPage == 0) {
                int answer = 0;
                if (acedGetInt(L"\nPress ENTER pour suite ", &answer) == RTCAN) break;
            }
            ++block;
            const AcGePoint3d user = host::worldToUcs(WorldPoint(v));
            g_printHook("\nNo %d UCS XYZ=%11.4f,%11.4f,%9.4f ", block, user.x, user.y, user.z);
            const CPoint3d stored = v->pt;
            if (m_pNormal) g_printHook("\n BRUT (%11.4f,%11.4f,%9.4f)", stored.x, stored.y, stored.z);
            const P_Vertex* w = N(const_cast<P_Vertex*>(v));
            const double bulge = v->bulge;
            if (w && bulge != 0) {
                const double angle = 4 * std::atan(bulge);
                const double radius = std::fabs(stored.dist2dTo(w->pt) / 2 / std::sin(angle / 2));
                g_printHook("A.C=%9.4f R=%9.4f", angle * 200 / std::numbers::pi, radius);
            } else {
                g_printHook("    ------        ------    ");
            }
            g_printHook("\n       Tefs=%d,%d >>%s Ep=%8.4f H=%8.4f 70=%x", v->tef1, v->tef2, v->tefascii(-1),
                        v->f40(), v->f39(), static_cast<unsigned>(static_cast<std::uint16_t>(v->flags)));
            if (w && stored.dist2dTo(w->pt) != 0)
                g_printHook(" G=%9.4f Dist=%9.4f", bearing(stored.gisTo(w->pt)),
                            stored.dist2dTo(w->pt, bulge));
        }
        printTotals(planLength, length3d, area);
    } catch (...) {
        entity_boundary::reportFailure("\nProbleme avec CPolyArc3D::list()");
    }
}
