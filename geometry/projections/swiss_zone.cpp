// The Swiss zones, converted by the outside reframe library (platform/swiss_reframe.h), to which p0 gives
// the integer code of the height frame.
#include "geometry/points/angle_units.h"
#include "geometry/projections/ctes_proj.h"
#include "geometry/projections/projection_formulas.h"
#include "platform/system/swiss_reframe.h"
#include "services/output/output.h"

#include <cmath>

namespace geometry::projections {

namespace {

platform::SwissReframe* reframeLibrary() {
    platform::SwissReframe* const library = platform::swissReframe();
    if (!library)
        mprintf(
            "$G$\n Installez la librarie 'COM' 64 bits 'swisstopoReframeLib.dll' de SWISSTOPO pour utiliser "
            "cette fonction");
    return library;
}

int heightFrameCode(const CtesProj& projection) {
    return std::fabs(projection.p0) < 2e9 ? static_cast<int>(projection.p0) : 0;
}

} // namespace

int swissToXy(const CtesProj& projection, const CPoint3d& geo, CPoint3d& xy) {
    platform::SwissReframe* const library = reframeLibrary();
    if (!library) return 0;
    const int heightFrame = heightFrameCode(projection);
    double x = geo.x * radian_en_degre;
    double y = geo.y * radian_en_degre;
    double z = geo.z;
    const int gpsFlag = library->gpsReference(x, y, z, 1);
    const int frameFlag = library->changeFrame(x, y, z, 1, 1, 2, heightFrame);
    if (gpsFlag < 1 && frameFlag < 1) {
        mprintf("$G$\n ERREUR GeoToXy : Point (%.2f,%.2f) hors zone SWISSTOPO", xy.x, xy.y);
        return 0;
    }
    xy.set(x, y, z);
    return 3;
}

int swissToGeo(const CtesProj& projection, const CPoint3d& xy, CPoint3d& geo) {
    platform::SwissReframe* const library = reframeLibrary();
    if (!library) return 0;
    const int heightFrame = heightFrameCode(projection);
    double x = xy.x;
    double y = xy.y;
    double z = xy.z;
    const int frameFlag = library->changeFrame(x, y, z, 1, 1, heightFrame, 2);
    const int gpsFlag = library->gpsReference(x, y, z, 3);
    if (gpsFlag < 1 && frameFlag < 1) {
        mprintf("$G$\n ERREUR XyToGeo: Point (%.2f,%.2f) hors zone SWISSTOPO", xy.x, xy.y);
        return 0;
    }
    geo.set(x * degre_en_radian, y * degre_en_radian, z);
    return 3;
}

} // namespace geometry::projections
