// The DXF groups of the entity: drawing files and the host's entity lists. The option word chooses, for
// lists, whether the header and which vertices are written; drawing files always get everything.
//
// Header (after the host entity's groups): 100 subclass, 69 version 5, 66 1, 70 f70, 71 f71, 39 height,
// 42 width (when not 0), 43 smoothing angle, 91 vertex count, 210 normal (when the entity has one).
// Per vertex: 10 point (starts the vertex), 40 and 39 the fixed-point values / 100,000, 42 bulge, 70 flags,
// 71 tef1, 72 tef2, 90 the low half of the tag, each only when not 0.
//
// Lists carry points and bulges with 4 decimals and the normal with 8. Files carry them in full: a point
// cut to 4 decimals, or a normal to 8 (which moves points far from the origin), would lose the drawing's
// data on every save.
#include <cmath>
#include <cstdio>
#include <limits>

#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/vertex_groups.h"
#include "geometry/points/angle_units.h"
#include "host/filing/dxf_filer.h"
#include "services/output/output.h"

namespace {

const ACHAR* subclassMarker(int kind) {
    return kind == CPolyArc3D::kTavroKind ? L"tavro_poly" : L"PolyArc3D";
}

// Decimals of the real groups; 5 carry the fixed-point values exactly.
struct Precisions {
    int point;
    int bulge;
    int normal;
    static constexpr int kFixed = 5;
};

Precisions precisionsFor(const AcDbDxfFiler* filer) {
    if (filer->filerType() == AcDb::kFileFiler) return {AcDb::kDfltPrec, AcDb::kDfltPrec, AcDb::kDfltPrec};
    return {4, 4, 8};
}

void writeVertex(AcDbDxfFiler* filer, const P_Vertex& v, const Precisions& precisions) {
    const CPoint3d p = v.pt;
    const double bulge = v.bulge;
    const std::int64_t tag = v.tag;
    filer->writePoint3d(10, AcGePoint3d(p.x, p.y, p.z), precisions.point);
    if (v.i40 != 0) filer->writeDouble(40, v.i40 / kFixedScale, Precisions::kFixed);
    if (v.i39 != 0) filer->writeDouble(39, v.i39 / kFixedScale, Precisions::kFixed);
    if (bulge != 0) filer->writeDouble(42, bulge, precisions.bulge);
    if (v.flags != 0) filer->writeInt16(70, v.flags);
    if (v.tef1 != 0) filer->writeInt16(71, v.tef1);
    if (v.tef2 != 0) filer->writeInt16(72, v.tef2);
    // 32 bits of the 64-bit tag: a limit of the format, read back sign-extended.
    if (tag != 0) filer->writeInt32(90, static_cast<Adesk::Int32>(static_cast<std::uint32_t>(tag)));
}

// Why a group cannot be taken, and the status that answers it.
struct Refusal {
    Acad::ErrorStatus status = Acad::eOk;
    const char* why = nullptr;
    explicit operator bool() const { return why != nullptr; }
};

// Reads the groups of one record into a staging entity.
class RecordReader {
public:
    explicit RecordReader(CPolyArc3D& filed) : m_filed(filed) {}

    Refusal take(const resbuf& rb);
    bool sawVertex() const { return m_vertex != nullptr; }
    bool sawNormal() const { return m_sawNormal; }

private:
    Refusal takeVertexGroup(const resbuf& rb);

    CPolyArc3D& m_filed;
    P_Vertex* m_vertex = nullptr;
    bool m_sawNormal = false;
};

Refusal RecordReader::take(const resbuf& rb) {
    switch (rb.restype) {
    case 10:
        m_vertex = m_filed.A();
        m_vertex->pt.set(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
        return {};
    case 43:
        m_filed.f43(rb.resval.rreal);
        return {};
    case 210:
        m_filed.setSNormal(asVector(rb), 1);
        m_sawNormal = true;
        return {};
    default:
        break;
    }
    if (m_vertex) return takeVertexGroup(rb);
    switch (rb.restype) {
    case 39:
        m_filed.f39(rb.resval.rreal);
        break;
    case 42:
        m_filed.f42(rb.resval.rreal);
        break;
    case 70:
        m_filed.f70(rb.resval.rint);
        break;
    case 71:
        m_filed.f71(rb.resval.rint);
        break;
    default:
        break;
    }
    return {};
}

Refusal RecordReader::takeVertexGroup(const resbuf& rb) {
    if (!setVertexGroup(*m_vertex, rb)) return {Acad::eInvalidInput, "hauteur ou largeur hors limites"};
    return {};
}

Acad::ErrorStatus refuse(AcDbDxfFiler* filer, Acad::ErrorStatus status, const char* why) {
    mprintf("\nProbleme avec CPolyArc3D::dxfIn() : %s", why);
    filer->setFilerStatus(status);
    return status;
}

} // namespace

Acad::ErrorStatus CPolyArc3D::dxfOutFields(AcDbDxfFiler* filer) const {
    try {
        assertReadEnabled();
        const Precisions precisions = precisionsFor(filer);
        int option = g_PolyEntgetOption;
        if (filer->filerType() == AcDb::kFileFiler)
            option = g_PolyEntgetOptDef;
        else if (m_Kind == kTavroKind && !(option & kEntgetTavroKeep))
            option &= ~(kEntgetVertices | kEntgetTavroKeep);
        if (option & kEntgetHeader) {
            if (const Acad::ErrorStatus es = AcDbCurve::dxfOutFields(filer); es != Acad::eOk) return es;
            filer->writeString(100, subclassMarker(m_Kind));
            filer->writeInt16(69, 5);
            filer->writeInt16(66, 1);
            filer->writeInt16(70, m_f70);
            filer->writeInt16(71, m_f71);
            filer->writeDouble(39, m_f39);
            if (m_f42 != 0) filer->writeDouble(42, m_f42);
            filer->writeDouble(43, m_f43);
            filer->writeInt32(91, m_nVertex);
            if (m_pNormal) filer->writeVector3d(210, Snormal(), precisions.normal);
        }
        const int only = option & kEntgetVertexMask;
        if (!(option & kEntgetVertices) && only == 0) return filer->filerStatus();
        int index = 1;
        for (const P_Vertex* v = m_pHead; v; v = v->pVN, ++index) {
            if (only != 0 && index != only) continue;
            writeVertex(filer, *v, precisions);
            if (only != 0) break;
        }
        return filer->filerStatus();
    } catch (...) {
        return entity_boundary::reportFailure("\nProbleme avec CPolyArc3D::dxfOut()");
    }
}

Acad::ErrorStatus CPolyArc3D::dxfInFields(AcDbDxfFiler* filer) {
    try {
        noteFilingIn();
        if (const Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer); es != Acad::eOk) return es;
        if (!filer->atSubclassData(subclassMarker(m_Kind)))
            return refuse(filer, Acad::eBadDxfSequence, "marqueur de sous-classe absent");
        CPolyArc3D filed;
        copyHeaderTo(filed);
        RecordReader reader(filed);
        resbuf rb;
        Acad::ErrorStatus es;
        while ((es = filer->readItem(&rb)) == Acad::eOk)
            if (const Refusal refusal = reader.take(rb)) return refuse(filer, refusal.status, refusal.why);
        if (es != Acad::eEndOfFile) return es;
        // Vertices without a normal are in the world system.
        if (reader.sawVertex() && !reader.sawNormal())
            filed.setSNormal(static_cast<const Mat3D*>(nullptr), 0);
        adoptFiled(filed, reader.sawVertex());
        return Acad::eOk;
    } catch (...) {
        return entity_boundary::reportFailure("\nProbleme avec CPolyArc3D::dxfIn()");
    }
}
