#include "entity/conversion/block_rectangle.h"

#include <cmath>

#include "entity/core/boundary.h"
#include "entity/core/poly_classes.h"
#include "host/db/db_extents.h"
#include "host/entities/block_reference.h"

PolyArc3D* insertToZortapolyRect(const AcDbBlockReference* reference) {
    return entity_boundary::guarded(
        "\nProbleme avec insertToZortapolyRect()", static_cast<PolyArc3D*>(nullptr), [&] {
            if (!reference) return static_cast<PolyArc3D*>(nullptr);
            const AcDbBlockReference atOrigin(AcGePoint3d::kOrigin, reference->blockTableRecord());
            AcDbExtents extents;
            if (atOrigin.getGeomExtents(extents) != Acad::eOk || extents.isEmpty())
                return static_cast<PolyArc3D*>(nullptr);
            const AcGeScale3d scale = reference->scaleFactors();
            const double x0 = extents.minPoint().x * scale.sx, y0 = extents.minPoint().y * scale.sy;
            const double x1 = extents.maxPoint().x * scale.sx, y1 = extents.maxPoint().y * scale.sy;
            const AcGePoint3d p = reference->position();
            const double c = std::cos(reference->rotation()), s = std::sin(reference->rotation());
            const CPoint3d a(x0 * c - y0 * s + p.x, x0 * s + y0 * c + p.y, p.z);
            const CPoint3d u(-(y1 - y0) * s, (y1 - y0) * c, 0);
            const CPoint3d v((x1 - x0) * c, (x1 - x0) * s, 0);
            auto* rectangle = new PolyArc3D;
            rectangle->setPropertiesFrom(reference);
            for (const CPoint3d& corner : {a, a + u, a + u + v, a + v})
                rectangle->A()->pt = corner;
            rectangle->setClosed(true);
            rectangle->MajClosed();
            return rectangle;
        });
}
