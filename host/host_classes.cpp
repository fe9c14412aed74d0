#include "host/host_classes.h"

#include "host/block_reference.h"
#include "host/circle_arc.h"
#include "host/dictionary.h"
#include "host/ellipse.h"
#include "host/hatch.h"
#include "host/line.h"
#include "host/lw_polyline.h"
#include "host/point_ray_face.h"
#include "host/polylines.h"
#include "host/spline.h"
#include "host/symbol_tables.h"
#include "host/text.h"

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
                             AcDbSequenceEnd::desc(),
                             AcDbEllipse::desc(),
                             AcDbSpline::desc(),
                             AcDbHatch::desc(),
                             AcDbText::desc(),
                             AcDbBlockReference::desc()})
            (void)c;
        return true;
    }();
    (void)done;
}

} // namespace host
