#include "host/entities/polyline_vertices.h"

#include "host/db/enum_values.h"
#include "host/filing/dwg_filer.h"

HOST_DEFINE_ABSTRACT(AcDbVertex, AcDbEntity)
HOST_DEFINE_MEMBERS(AcDb2dVertex, AcDbVertex, L"VERTEX")
HOST_DEFINE_MEMBERS(AcDb3dPolylineVertex, AcDbVertex, L"VERTEX")

namespace host {

AcDb::Vertex3dType vertex3dTypeOf(int flags) {
    return flags & kSplineFrameFlag ? AcDb::k3dControlVertex
           : flags & kSplineFitFlag ? AcDb::k3dFitVertex
                                    : AcDb::k3dSimpleVertex;
}

Adesk::Int16 vertex3dFlagsOf(AcDb::Vertex3dType type) {
    return type == AcDb::k3dControlVertex ? kSplineFrameFlag
           : type == AcDb::k3dFitVertex   ? kSplineFitFlag
                                          : 0;
}

} // namespace host

Acad::ErrorStatus AcDbVertex::setPosition(const AcGePoint3d& position) {
    return setField(m_position, position);
}

Acad::ErrorStatus AcDbVertex::dwgInFields(AcDbDwgFiler* filer) {
    AcDbEntity::dwgInFields(filer);
    return filer->readPoint3d(&m_position);
}

Acad::ErrorStatus AcDbVertex::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbEntity::dwgOutFields(filer);
    return filer->writePoint3d(m_position);
}

Acad::ErrorStatus AcDbVertex::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer); es != Acad::eOk) return es;
    filer->atSubclassData(L"AcDbVertex");
    // The class's own marker follows; its groups carry the position and the flags.
    resbuf marker;
    if (filer->readItem(&marker) == Acad::eOk && marker.restype != 100) filer->pushBackItem();
    return host::readSubclassGroups(filer, [this](const resbuf& rb) {
        if (rb.restype == 10)
            m_position = asPoint(rb);
        else
            readDxfGroup(rb);
    });
}

AcDb2dVertex::AcDb2dVertex(const AcGePoint3d& position, double bulge, double startWidth, double endWidth,
                           double tangent)
    : m_bulge(bulge), m_startWidth(startWidth), m_endWidth(endWidth), m_tangent(tangent) {
    m_position = position;
}

Acad::ErrorStatus AcDb2dVertex::setVertexType(AcDb::Vertex2dType type) {
    return setField(m_type, type);
}

Acad::ErrorStatus AcDb2dVertex::setBulge(double bulge) {
    return setField(m_bulge, bulge);
}

Acad::ErrorStatus AcDb2dVertex::setStartWidth(double width) {
    return setField(m_startWidth, width);
}

Acad::ErrorStatus AcDb2dVertex::setEndWidth(double width) {
    return setField(m_endWidth, width);
}

void AcDb2dVertex::readDxfGroup(const resbuf& rb) {
    switch (rb.restype) {
    case 40:
        m_startWidth = rb.resval.rreal;
        break;
    case 41:
        m_endWidth = rb.resval.rreal;
        break;
    case 42:
        m_bulge = rb.resval.rreal;
        break;
    case 50:
        m_tangent = rb.resval.rreal / host::kDegrees;
        break;
    case 70:
        m_type = rb.resval.rint & host::kSplineFrameFlag ? AcDb::k2dSplineCtlVertex
                 : rb.resval.rint & host::kSplineFitFlag ? AcDb::k2dSplineFitVertex
                 : rb.resval.rint & host::kCurveFitFlag  ? AcDb::k2dCurveFitVertex
                                                         : AcDb::k2dVertex;
        break;
    default:
        break;
    }
}

Acad::ErrorStatus AcDb2dVertex::dwgInFields(AcDbDwgFiler* filer) {
    AcDbVertex::dwgInFields(filer);
    Adesk::Int16 type = 0;
    filer->readInt16(&type);
    filer->readDouble(&m_bulge);
    filer->readDouble(&m_startWidth);
    filer->readDouble(&m_endWidth);
    filer->readDouble(&m_tangent);
    m_type = host::enumOrDefault(
        type, {AcDb::k2dVertex, AcDb::k2dSplineCtlVertex, AcDb::k2dSplineFitVertex, AcDb::k2dCurveFitVertex},
        AcDb::k2dVertex);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDb2dVertex::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbVertex::dwgOutFields(filer);
    filer->writeInt16(static_cast<Adesk::Int16>(m_type));
    filer->writeDouble(m_bulge);
    filer->writeDouble(m_startWidth);
    filer->writeDouble(m_endWidth);
    return filer->writeDouble(m_tangent);
}

Acad::ErrorStatus AcDb2dVertex::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbEntity::dxfOutFields(filer);
    filer->writeString(100, L"AcDbVertex");
    filer->writeString(100, L"AcDb2dVertex");
    filer->writePoint3d(10, m_position);
    if (m_startWidth != 0) filer->writeDouble(40, m_startWidth);
    if (m_endWidth != 0) filer->writeDouble(41, m_endWidth);
    if (m_bulge != 0) filer->writeDouble(42, m_bulge);
    Adesk::Int16 flags = m_type == AcDb::k2dSplineCtlVertex   ? host::kSplineFrameFlag
                         : m_type == AcDb::k2dSplineFitVertex ? host::kSplineFitFlag
                         : m_type == AcDb::k2dCurveFitVertex  ? host::kCurveFitFlag
                                                              : 0;
    filer->writeInt16(70, flags);
    if (m_tangent != 0) filer->writeDouble(50, m_tangent * host::kDegrees);
    return filer->filerStatus();
}

namespace host {

Acad::ErrorStatus TypedVertex3d::setVertexType(AcDb::Vertex3dType type) {
    return setField(m_type, type);
}

void TypedVertex3d::readDxfGroup(const resbuf& rb) {
    if (rb.restype == 70) m_type = vertex3dTypeOf(rb.resval.rint);
}

Acad::ErrorStatus TypedVertex3d::dwgInFields(AcDbDwgFiler* filer) {
    AcDbVertex::dwgInFields(filer);
    Adesk::Int16 type = 0;
    filer->readInt16(&type);
    m_type = enumOrDefault(type, {AcDb::k3dSimpleVertex, AcDb::k3dControlVertex, AcDb::k3dFitVertex},
                           AcDb::k3dSimpleVertex);
    return filer->filerStatus();
}

Acad::ErrorStatus TypedVertex3d::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbVertex::dwgOutFields(filer);
    return filer->writeInt16(static_cast<Adesk::Int16>(m_type));
}

Acad::ErrorStatus TypedVertex3d::writeDxfFields(AcDbDxfFiler* filer, const wchar_t* marker,
                                                Adesk::Int16 ownerFlag) const {
    AcDbEntity::dxfOutFields(filer);
    filer->writeString(100, L"AcDbVertex");
    filer->writeString(100, marker);
    filer->writePoint3d(10, m_position);
    return filer->writeInt16(70, static_cast<Adesk::Int16>(ownerFlag | vertex3dFlagsOf(m_type)));
}

} // namespace host

Acad::ErrorStatus AcDb3dPolylineVertex::dxfOutFields(AcDbDxfFiler* filer) const {
    return writeDxfFields(filer, L"AcDb3dPolylineVertex", host::k3dPolylineVertexFlag);
}
