// The binary record of the entity (object version 5), written after the host entity's fields; files, undo
// images and copies all go through it. Versions 0 to 4 of older drawings are read.
//
// Header: Int8 version, Int16 f70, Int16 f71, Double height (39), Double smoothing angle (43), Double width
// (42), Int8 1 and a Vector3d when the entity has a normal (else Int8 0). Then one record per vertex and an
// Int8 0. A vertex record is an Int8 of presence bits followed by the items they announce.
//
// A record is read into a staging entity first, so that a damaged one leaves the entity as it was.
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "entity/core/boundary.h"
#include "entity/core/class_state.h"
#include "entity/core/poly_arc3d.h"
#include "host/filing/dwg_filer.h"
#include "services/output/output.h"

namespace {

constexpr Adesk::Int8 kVersion = 5;

enum VertexBits : std::uint8_t {
    kVertexMark = 1, // every vertex record has it; the end byte 0 has not
    kHasZ = 2,       // Point3d, else Point2d (z 0)
    kHasBulge = 4,
    kHasCodes = 8,   // Int32: flags, tef1, tef2 as they lie in the node
    kHasValues = 16, // Double item carrying i39 and i40 bit for bit
    kHasTag = 32,    // Int32: the low half of the tag
    kKnownBits = 63,
};

// The node's attribute bytes, copied as they lie in the node (the packed fields are never bound).
constexpr std::size_t kCodesOffset = offsetof(P_Vertex, flags);
constexpr std::size_t kValuesOffset = offsetof(P_Vertex, i39);
static_assert(offsetof(P_Vertex, tef2) - kCodesOffset == 3 && offsetof(P_Vertex, i40) - kValuesOffset == 4);

template <class T> T bytesAt(const P_Vertex& v, std::size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(&v) + offset, sizeof value);
    return value;
}

template <class T> void setBytesAt(P_Vertex& v, std::size_t offset, T value) {
    std::memcpy(reinterpret_cast<char*>(&v) + offset, &value, sizeof value);
}

void writeVertex(AcDbDwgFiler* filer, const P_Vertex& v) {
    const CPoint3d p = v.pt;
    const double bulge = v.bulge;
    const auto codes = bytesAt<Adesk::Int32>(v, kCodesOffset);
    // Two fixed-point integers, not a number: any bit pattern (a NaN's too) is a valid item.
    const auto values = bytesAt<Adesk::UInt64>(v, kValuesOffset);
    const std::int64_t tag = v.tag;
    const bool hasValues = v.i39 != 0 || v.i40 != 0;
    const auto bits = static_cast<Adesk::Int8>(kVertexMark | (p.z != 0 ? kHasZ : 0) |
                                               (bulge != 0 ? kHasBulge : 0) | (codes != 0 ? kHasCodes : 0) |
                                               (hasValues ? kHasValues : 0) | (tag != 0 ? kHasTag : 0));
    filer->writeInt8(bits);
    if (bits & kHasZ)
        filer->writePoint3d(AcGePoint3d(p.x, p.y, p.z));
    else
        filer->writePoint2d(AcGePoint2d(p.x, p.y));
    if (bits & kHasBulge) filer->writeDouble(bulge);
    if (bits & kHasCodes) filer->writeInt32(codes);
    if (bits & kHasValues) filer->writeUInt64(values);
    // The record keeps 32 bits of the 64-bit tag: a limit of the format, read back with its upper half zero.
    if (bits & kHasTag) filer->writeInt32(static_cast<Adesk::Int32>(static_cast<std::uint32_t>(tag)));
}

// One vertex after its presence bits; the point by version (versions 1 to 3 file it as separate doubles).
void readVertex(AcDbDwgFiler* filer, int version, std::uint8_t bits, P_Vertex& v) {
    CPoint3d p;
    if (version < 4) {
        filer->readDouble(&p.x);
        filer->readDouble(&p.y);
        if (bits & kHasZ) filer->readDouble(&p.z);
    } else if (bits & kHasZ) {
        AcGePoint3d q;
        filer->readPoint3d(&q);
        p = q;
    } else {
        AcGePoint2d q;
        filer->readPoint2d(&q);
        p.set(q.x, q.y, 0);
    }
    v.pt = p;
    if (bits & kHasBulge) filer->readDouble(&v.bulge);
    if (bits & kHasCodes) {
        Adesk::Int32 codes = 0;
        filer->readInt32(&codes);
        setBytesAt(v, kCodesOffset, codes);
    }
    if (bits & kHasValues) {
        Adesk::UInt64 values = 0;
        filer->readUInt64(&values);
        setBytesAt(v, kValuesOffset, values);
    }
    if (bits & kHasTag) {
        Adesk::Int32 tag = 0;
        filer->readInt32(&tag);
        v.tag = static_cast<std::uint32_t>(tag);
    }
}

// The record after its version byte into `filed`; null, or why the record cannot be read.
const char* readRecord(AcDbDwgFiler* filer, int version, CPolyArc3D& filed) {
    Adesk::Int16 f70 = 0, f71 = 0;
    double f39 = 0, f43 = 0, f42 = filed.f42();
    filer->readInt16(&f70);
    filer->readInt16(&f71);
    filer->readDouble(&f39);
    filer->readDouble(&f43);
    if (version >= 3) filer->readDouble(&f42);
    Adesk::Int8 hasNormal = 0;
    AcGeVector3d normal(0, 0, 1);
    if (version >= 5) {
        filer->readInt8(&hasNormal);
        if (hasNormal & 1) filer->readVector3d(&normal);
    }
    if (filer->filerStatus() != Acad::eOk) return "en-tete tronque";
    filed.f70(f70);
    filed.f71(f71);
    filed.f39(f39);
    filed.f43(f43);
    filed.f42(f42);
    // A record without a normal is in the world system.
    filed.setSNormal(normal, 1);
    for (;;) {
        Adesk::Int8 byte = 0;
        if (filer->readInt8(&byte) != Acad::eOk) return "sommets tronques";
        const auto bits = static_cast<std::uint8_t>(byte);
        if (bits == 0) return nullptr;
        if (!(bits & kVertexMark) || (bits & ~kKnownBits)) return "sommet endommage";
        alignas(8) P_Vertex v(0);
        readVertex(filer, version, bits, v);
        if (filer->filerStatus() != Acad::eOk) return "sommets tronques";
        filed.A(&v);
    }
}

Acad::ErrorStatus refuse(AcDbDwgFiler* filer, Acad::ErrorStatus status, const char* why) {
    mprintf("\nProbleme avec CPolyArc3D::dwgInFields() : %s", why);
    if (filer->filerStatus() == Acad::eOk) filer->setFilerStatus(status);
    return filer->filerStatus();
}

} // namespace

CPolyArc3D::HeaderOnlyCopy::HeaderOnlyCopy() : m_outer(entity_state::headerOnlySwitch != 0) {
    entity_state::headerOnlySwitch = 0;
}

CPolyArc3D::HeaderOnlyCopy::~HeaderOnlyCopy() {
    if (m_outer) entity_state::headerOnlySwitch = 1.0;
}

Acad::ErrorStatus CPolyArc3D::dwgOutFields(AcDbDwgFiler* filer) const {
    try {
        const Acad::ErrorStatus es = AcDbCurve::dwgOutFields(filer);
        if (es != Acad::eOk) return es;
        filer->writeInt8(kVersion);
        filer->writeInt16(m_f70);
        filer->writeInt16(m_f71);
        filer->writeDouble(m_f39);
        filer->writeDouble(m_f43);
        filer->writeDouble(m_f42);
        filer->writeInt8(m_pNormal ? 1 : 0);
        if (m_pNormal) filer->writeVector3d(Snormal());
        // The header-only switch serves one copy only.
        const bool headerOnly = filer->filerType() == AcDb::kCopyFiler && entity_state::headerOnlySwitch == 0;
        if (headerOnly)
            entity_state::headerOnlySwitch = 1.0;
        else
            for (const P_Vertex* v = m_pHead; v; v = v->pVN)
                writeVertex(filer, *v);
        filer->writeInt8(0);
        return filer->filerStatus();
    } catch (...) {
        return entity_boundary::reportFailure("\nProbleme avec CPolyArc3D::dwgOutFields()");
    }
}

Acad::ErrorStatus CPolyArc3D::dwgInFields(AcDbDwgFiler* filer) {
    try {
        if (const Acad::ErrorStatus es = AcDbCurve::dwgInFields(filer); es != Acad::eOk) return es;
        Adesk::Int8 version = 0;
        if (filer->readInt8(&version) != Acad::eOk)
            return refuse(filer, Acad::eFilerError, "version absente");
        if (version == 0) return Acad::eOk;
        if (version < 0 || version > kVersion) {
            char why[40];
            std::snprintf(why, sizeof why, "version %d inconnue", version);
            return refuse(filer, Acad::eInvalidDwgVersion, why);
        }
        CPolyArc3D filed;
        copyHeaderTo(filed);
        if (const char* why = readRecord(filer, version, filed)) return refuse(filer, Acad::eFilerError, why);
        noteFilingIn();
        adoptFiled(filed, true);
        // Only an entity of a drawing file that read no vertex removes itself: copies and undo images
        // may be empty on purpose.
        if (!m_pHead && filer->filerType() == AcDb::kFileFiler && database() && isWriteEnabled()) erase();
        return Acad::eOk;
    } catch (...) {
        return entity_boundary::reportFailure("\nProbleme avec CPolyArc3D::dwgInFields()");
    }
}
