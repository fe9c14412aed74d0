#include "host/rx/host_classes.h"

#include "host/db/dictionary.h"
#include "host/db/kept_tables.h"
#include "host/db/symbol_tables.h"
#include "host/entities/attributes.h"
#include "host/entities/block_reference.h"
#include "host/entities/circle_arc.h"
#include "host/entities/ellipse.h"
#include "host/entities/hatch.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/meshes.h"
#include "host/entities/minsert_block.h"
#include "host/entities/point_ray_face.h"
#include "host/entities/polylines.h"
#include "host/entities/spline.h"
#include "host/entities/text.h"
#include "host/filing/proxies.h"

namespace host {

void registerHostClasses() {
    static const bool done = [] {
        for (AcRxClass* c : {AcDbDictionary::desc(),
                             AcDbXrecord::desc(),
                             AcDbBlockTable::desc(),
                             AcDbLayerTable::desc(),
                             AcDbLinetypeTable::desc(),
                             AcDbRegAppTable::desc(),
                             AcDbTextStyleTable::desc(),
                             AcDbBlockTableRecord::desc(),
                             AcDbLayerTableRecord::desc(),
                             AcDbLinetypeTableRecord::desc(),
                             AcDbRegAppTableRecord::desc(),
                             AcDbTextStyleTableRecord::desc(),
                             AcDbViewportTable::desc(),
                             AcDbViewTable::desc(),
                             AcDbUCSTable::desc(),
                             AcDbDimStyleTable::desc(),
                             AcDbViewportTableRecord::desc(),
                             AcDbViewTableRecord::desc(),
                             AcDbUCSTableRecord::desc(),
                             AcDbDimStyleTableRecord::desc(),
                             AcDbLine::desc(),
                             AcDbCircle::desc(),
                             AcDbArc::desc(),
                             AcDbPoint::desc(),
                             AcDbRay::desc(),
                             AcDbFace::desc(),
                             AcDbPolyline::desc(),
                             AcDb2dPolyline::desc(),
                             AcDb3dPolyline::desc(),
                             AcDb2dVertex::desc(),
                             AcDb3dPolylineVertex::desc(),
                             AcDbPolyFaceMesh::desc(),
                             AcDbPolygonMesh::desc(),
                             AcDbPolyFaceMeshVertex::desc(),
                             AcDbFaceRecord::desc(),
                             AcDbPolygonMeshVertex::desc(),
                             AcDbSequenceEnd::desc(),
                             AcDbEllipse::desc(),
                             AcDbSpline::desc(),
                             AcDbHatch::desc(),
                             AcDbText::desc(),
                             AcDbAttributeDefinition::desc(),
                             AcDbAttribute::desc(),
                             AcDbBlockReference::desc(),
                             AcDbMInsertBlock::desc(),
                             AcDbProxyEntity::desc(),
                             AcDbProxyObject::desc()})
            (void)c;
        return true;
    }();
    (void)done;
}

} // namespace host
