#include "host/entities/mesh_vertices.h"

#include <cstdlib>

#include "host/filing/dwg_filer.h"

HOST_DEFINE_MEMBERS(AcDbPolyFaceMeshVertex, AcDbVertex, L"VERTEX")
HOST_DEFINE_MEMBERS(AcDbFaceRecord, AcDbVertex, L"VERTEX")
HOST_DEFINE_MEMBERS(AcDbPolygonMeshVertex, AcDbVertex, L"VERTEX")

// Polyface mesh vertices.

Acad::ErrorStatus AcDbPolyFaceMeshVertex::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbEntity::dxfOutFields(filer);
    filer->writeString(100, L"AcDbVertex");
    filer->writeString(100, L"AcDbPolyFaceMeshVertex");
    filer->writePoint3d(10, m_position);
    return filer->writeInt16(70, host::kPolygonMeshVertexFlag | host::kPolyFaceMeshVertexFlag);
}

// Face records.

AcDbFaceRecord::AcDbFaceRecord(Adesk::Int16 vtx0, Adesk::Int16 vtx1, Adesk::Int16 vtx2, Adesk::Int16 vtx3,
                               bool e0vis, bool e1vis, bool e2vis, bool e3vis)
    : m_vertices{vtx0, vtx1, vtx2, vtx3} {
    const bool visible[4] = {e0vis, e1vis, e2vis, e3vis};
    for (Adesk::UInt16 i = 0; i < 4; ++i)
        setEdgeVisible(i, visible[i]);
}

Acad::ErrorStatus AcDbFaceRecord::getVertexAt(Adesk::UInt16 faceIdx, Adesk::Int16& vtxIdx) const {
    if (faceIdx > 3) return Acad::eInvalidIndex;
    vtxIdx = static_cast<Adesk::Int16>(std::abs(m_vertices[faceIdx]));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::setVertexAt(Adesk::UInt16 faceIdx, Adesk::Int16 vtxIdx) {
    if (faceIdx > 3 || vtxIdx < 0) return faceIdx > 3 ? Acad::eInvalidIndex : Acad::eInvalidInput;
    assertWriteEnabled();
    m_vertices[faceIdx] = static_cast<Adesk::Int16>(m_vertices[faceIdx] < 0 ? -vtxIdx : vtxIdx);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::isEdgeVisibleAt(Adesk::UInt16 faceIdx, bool& visible) const {
    if (faceIdx > 3) return Acad::eInvalidIndex;
    visible = m_vertices[faceIdx] >= 0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::makeEdgeVisibleAt(Adesk::UInt16 faceIdx) {
    return setEdgeVisible(faceIdx, true);
}

Acad::ErrorStatus AcDbFaceRecord::makeEdgeInvisibleAt(Adesk::UInt16 faceIdx) {
    return setEdgeVisible(faceIdx, false);
}

Acad::ErrorStatus AcDbFaceRecord::setEdgeVisible(Adesk::UInt16 faceIdx, bool visible) {
    if (faceIdx > 3) return Acad::eInvalidIndex;
    assertWriteEnabled();
    const auto number = static_cast<Adesk::Int16>(std::abs(m_vertices[faceIdx]));
    m_vertices[faceIdx] = static_cast<Adesk::Int16>(visible ? number : -number);
    return Acad::eOk;
}

std::vector<int> AcDbFaceRecord::corners() const {
    std::vector<int> numbers;
    for (Adesk::Int16 v : m_vertices) {
        if (v == 0) break;
        numbers.push_back(std::abs(static_cast<int>(v)));
    }
    return numbers;
}

void AcDbFaceRecord::readDxfGroup(const resbuf& rb) {
    if (rb.restype >= 71 && rb.restype <= 74) m_vertices[rb.restype - 71] = rb.resval.rint;
}

Acad::ErrorStatus AcDbFaceRecord::dwgInFields(AcDbDwgFiler* filer) {
    AcDbVertex::dwgInFields(filer);
    for (Adesk::Int16& v : m_vertices)
        filer->readInt16(&v);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbFaceRecord::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbVertex::dwgOutFields(filer);
    for (Adesk::Int16 v : m_vertices)
        filer->writeInt16(v);
    return filer->filerStatus();
}

// A face record has no subclass AcDbVertex in files; its corners are written where there is one.
Acad::ErrorStatus AcDbFaceRecord::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbEntity::dxfOutFields(filer);
    filer->writeString(100, L"AcDbFaceRecord");
    filer->writePoint3d(10, m_position);
    filer->writeInt16(70, host::kPolyFaceMeshVertexFlag);
    for (int i = 0; i < 4; ++i)
        if (m_vertices[i] != 0) filer->writeInt16(71 + i, m_vertices[i]);
    return filer->filerStatus();
}

// Polygon mesh vertices.

Acad::ErrorStatus AcDbPolygonMeshVertex::dxfOutFields(AcDbDxfFiler* filer) const {
    return writeDxfFields(filer, L"AcDbPolygonMeshVertex", host::kPolygonMeshVertexFlag);
}
