// The explosion with cartographic styles and a context: a class that has one overrides it; the polyline
// itself answers the host's "not implemented yet".
#include "entity/core/poly_arc3d.h"

Acad::ErrorStatus CPolyArc3D::subExplode(AcDbVoidPtrArray&, cartolgn*) {
    return Acad::eNotImplementedYet;
}
