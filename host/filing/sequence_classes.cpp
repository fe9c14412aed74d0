#include "host/filing/sequence_classes.h"

#include <utility>

#include "host/entities/entity.h"

namespace host {

AcRxClass* polylineClass(long long flags, const std::wstring& marker) {
    constexpr std::pair<int, const wchar_t*> kinds[] = {
        {64, L"AcDbPolyFaceMesh"}, {16, L"AcDbPolygonMesh"}, {8, L"AcDb3dPolyline"}};
    for (const auto& [flag, name] : kinds)
        if (marker == name) return acrxFindAcRxClass(name);
    for (const auto& [flag, name] : kinds)
        if (flags & flag) return acrxFindAcRxClass(name);
    return nullptr;
}

AcRxClass* vertexClass(const AcDbEntity* owner, long long flags, const std::wstring& marker) {
    const std::wstring ownerClass = owner->isA()->name();
    if (ownerClass == L"AcDb3dPolyline") return acrxFindAcRxClass(L"AcDb3dPolylineVertex");
    if (ownerClass == L"AcDbPolygonMesh") return acrxFindAcRxClass(L"AcDbPolygonMeshVertex");
    if (ownerClass != L"AcDbPolyFaceMesh") return nullptr;
    const bool point = marker.empty() ? (flags & 64) != 0 : marker == L"AcDbPolyFaceMeshVertex";
    return acrxFindAcRxClass(point ? L"AcDbPolyFaceMeshVertex" : L"AcDbFaceRecord");
}

} // namespace host
