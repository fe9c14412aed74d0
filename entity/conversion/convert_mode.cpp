// CPolyArc3D::c_convert: the polyline as the host entity that a mode letter asks for, placed in a database.
#include "cadutil/database/spaces.h"
#include "entity/conversion/conversion_flags.h"
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/polylines.h"

int CPolyArc3D::c_convert(char mode, AcDbDatabase* database, int space, cartolgn*, double maxDeviation) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::c_convert()", 0, [&] {
        // The mode stored in the polyline chooses for 'D'; 1 and 5 ask for the explosion with styles.
        if (mode == 'D') {
            constexpr char kStoredModes[] = {0, 'E', 'L', '3', 'A', 'X'};
            const int stored = m_f71 & 7;
            if (stored < 1 || stored > 5) return 0;
            mode = kStoredModes[stored];
        }
        // The explosion with styles belongs to classes that override it with a context; none here does.
        if (mode == 'E' || mode == 'X') return 0;
        // A polyline without a segment would leave an empty host polyline in the drawing.
        if (m_nVertex < 2) return 0;
        if (mode == 'A') mode = savesAs3dPolyline() ? '3' : 'L';
        AcDbEntity* made = nullptr;
        if (mode == '2')
            made = to2d(conversion::kWithoutXData, nullptr);
        else if (mode == '3')
            made = to3d(conversion::kWithoutXData, maxDeviation, nullptr);
        else
            made = tolw(conversion::kWithoutXData, nullptr);
        if (!made) return 0;
        if (!database) database = this->database();
        AcDbObjectId id;
        if (appendEntityToSpace(id, made, space, database).isNull()) {
            delete made;
            return 0;
        }
        conversion::copyXData(*this, *made);
        made->close();
        return 1;
    });
}
