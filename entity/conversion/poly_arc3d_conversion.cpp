// The registered polyline's own conversions: its offset for the host, a polyline from any source, and host
// polylines in the colours of the vertex codes.
#include "entity/conversion/conversion_flags.h"
#include "entity/core/boundary.h"
#include "entity/core/poly_classes.h"

Acad::ErrorStatus PolyArc3D::getOffsetCurves(double offsetDist, AcDbVoidPtrArray& offsetCurves) const {
    return entity_boundary::guarded("\nProbleme avec PolyArc3D::getOffsetCurves()", Acad::eInvalidInput, [&] {
        CPolyArc3D* offset = decale(offsetDist, 0, 2, 2);
        if (!offset) return Acad::eInvalidInput;
        offsetCurves.append(offset);
        return Acad::eOk;
    });
}

PolyArc3D* PolyArc3D::FromEntity(AcDbEntity* source, AcDbObjectId* id, int flags) {
    return entity_boundary::guarded("\nProbleme avec PolyArc3D::FromEntity()",
                                    static_cast<PolyArc3D*>(nullptr), [&] {
                                        if (!source) return static_cast<PolyArc3D*>(nullptr);
                                        if (PolyArc3D* same = PolyArc3D::cast(source)) return same;
                                        // Replacing the source changes it.
                                        if ((flags & conversion::kReplaceSource) &&
                                            !source->isWriteEnabled() && source->upgradeOpen() != Acad::eOk) {
                                            source->close();
                                            return static_cast<PolyArc3D*>(nullptr);
                                        }
                                        PolyArc3D* made = allocate<PolyArc3D>();
                                        if (!made) return made;
                                        if (made->from(source, flags) != Acad::eOk) {
                                            delete made;
                                            return static_cast<PolyArc3D*>(nullptr);
                                        }
                                        if (id) *id = made->objectId();
                                        return made;
                                    });
}

AcDb2dPolyline* PolyArc3D::to2d(int flags, AcDbObjectId* id) {
    return make2d(flags, id, true);
}

AcDb3dPolyline* PolyArc3D::to3d(int flags, double maxDeviation, AcDbObjectId* id) {
    return make3d(flags & ~conversion::kWithoutProperties, maxDeviation, id, true);
}
