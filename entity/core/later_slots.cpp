// Own operations whose algorithms belong to the curve-protocol and conversion work of the entity. Until each
// is built it answers the host's "not implemented yet": no status, null, no points, nothing done.
#include "entity/core/poly_arc3d.h"

Acad::ErrorStatus CPolyArc3D::subExplode(AcDbVoidPtrArray&, cartolgn*) {
    return Acad::eNotImplementedYet;
}

int CPolyArc3D::c_convert(char, AcDbDatabase*, int, cartolgn*, double) {
    return 0;
}
