// The mapping agency's and EPSG's published worked examples, each to its last published digit.
#include "geometry/projections/ctes_proj.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr double kDegree = std::numbers::pi / 180;

double degrees(double d, double m = 0, double s = 0) {
    return (d + m / 60 + s / 3600) * kDegree;
}

double eccentricity(double inverseFlattening) {
    const double f = 1 / inverseFlattening;
    return std::sqrt(2 * f - f * f);
}

// A projection record of its own, outside the lists read from the definition file.
struct Record {
    Ellipsoide ellipsoid;
    CtesProj projection;

    Record(const char* name, double a, double e, double p0, double p1 = 0, double p2 = 0, double p3 = 0,
           double p4 = 0)
        : ellipsoid(a, e, 0, 0, 0) {
        std::strncpy(projection.name, name, sizeof projection.name - 1);
        projection.ellipsoid = &ellipsoid;
        projection.p0 = p0;
        projection.p1 = p1;
        projection.p2 = p2;
        projection.p3 = p3;
        projection.p4 = p4;
    }
    Record(const Record& other) : ellipsoid(other.ellipsoid), projection(other.projection) {
        projection.ellipsoid = &ellipsoid;
    }
};

// EPSG's Lambert constants (one standard parallel when both are the same), as the record takes them: the
// cone constant n, C = a F k0, the false easting and the northing of the apex.
Record lambertFromEpsg(double a, double e, double parallel1, double parallel2, double originLatitude,
                       double originLongitude, double falseEasting, double falseNorthing, double k0 = 1) {
    auto m = [&](double phi) { return std::cos(phi) / std::sqrt(1 - e * e * std::sin(phi) * std::sin(phi)); };
    auto t = [&](double phi) {
        return std::tan(std::numbers::pi / 4 - phi / 2) /
               std::pow((1 - e * std::sin(phi)) / (1 + e * std::sin(phi)), e / 2);
    };
    const double n = parallel1 == parallel2 ? std::sin(parallel1)
                                            : (std::log(m(parallel1)) - std::log(m(parallel2))) /
                                                  (std::log(t(parallel1)) - std::log(t(parallel2)));
    const double c = a * m(parallel1) / (n * std::pow(t(parallel1), n)) * k0;
    return Record("LEPSG", a, e, originLongitude, n, c, falseEasting,
                  falseNorthing + c * std::pow(t(originLatitude), n));
}

struct Example {
    std::string source;
    CPoint3d computed;
    CPoint3d expected;
    double tolerance;
};

CPoint3d forward(Record record, const CPoint3d& geo) {
    CPoint3d xy;
    EXPECT_EQ(record.projection.GeoToXy(geo, xy), 1) << record.projection.name;
    return xy;
}

CPoint3d inverse(Record record, const CPoint3d& xy) {
    CPoint3d geo;
    EXPECT_EQ(record.projection.XyToGeo(xy, geo), 1) << record.projection.name;
    return geo;
}

std::vector<Example> workedExamples() {
    const Record isometric("L", 0, 0.08199188998, 0);
    const Record ntfZone("L", 6378249.2, 0.0824832568, 0.04079234433, 0.760405966, 11603796.9767, 600000,
                         5657616.674);
    const Ellipsoide clarke1880(6378249.2, 0.08248325679, 0, 0, 0);
    const Ellipsoide wgs84(6378137, eccentricity(298.257223563), 0, 0, 0);
    const double clarke1866 = eccentricity(294.9786982);
    const double airy = eccentricity(299.3249646);
    // EPSG's British grid example, moved to the type's origin on the equator 500 km west of the meridian:
    // the northing gains the false northing back and k0 times the published meridian arc M0 at 49 N.
    const double osgbNorthing = 69740.50 + 100000 + 0.9996012717 * 5429228.602;
    const CPoint3d epsgGeocentric(degrees(2, 7, 46.38), degrees(53, 48, 33.82), 73);
    return {
        {"ALG0001 a", CPoint3d(isometric.projection.LatitudeIso(0.872664626), 0, 0),
         CPoint3d(1.00552653649, 0, 0), 1e-11},
        {"ALG0001 b", CPoint3d(isometric.projection.LatitudeIso(-0.3), 0, 0), CPoint3d(-0.30261690063, 0, 0),
         1e-11},
        {"ALG0001 c", CPoint3d(isometric.projection.LatitudeIso(0.19998903370), 0, 0), CPoint3d(0.2, 0, 0),
         1e-11},
        {"ALG0003", forward(ntfZone, CPoint3d(0.145512099, 0.872664626, 0)),
         CPoint3d(1029705.0818, 272723.8510, 0), 1e-4},
        {"ALG0004", inverse(ntfZone, CPoint3d(1029705.083, 272723.849, 0)),
         CPoint3d(0.145512099, 0.872664626, 0), 1e-9},
        {"ALG0009", clarke1880.GeoToEcf(CPoint3d(0.01745329248, 0.02036217457, 100)),
         CPoint3d(6376064.6955, 111294.6230, 128984.7250), 1e-4},
        {"ALG0012", clarke1880.EcfToGeo(CPoint3d(6376064.695, 111294.623, 128984.725)),
         CPoint3d(0.01745329248, 0.02036217457, 99.9995), 1e-4},
        {"EPSG Lambert 1SP (Jamaica)",
         forward(lambertFromEpsg(6378206.4, clarke1866, degrees(18), degrees(18), degrees(18), degrees(-77),
                                 250000, 150000),
                 CPoint3d(-degrees(76, 56, 37.26), degrees(17, 55, 55.80), 0)),
         CPoint3d(255966.58, 142493.51, 0), 0.01},
        {"EPSG Lambert 2SP (Texas South Central, US feet)",
         forward(lambertFromEpsg(20925832.16, eccentricity(294.97870), degrees(28, 23), degrees(30, 17),
                                 degrees(27, 50), degrees(-99), 2000000, 0),
                 CPoint3d(degrees(-96), degrees(28, 30), 0)),
         CPoint3d(2963503.91, 254759.80, 0), 0.01},
        {"EPSG transverse Mercator (British grid)",
         forward(Record("U", 6377563.396, airy, degrees(-2), 0.9996012717),
                 CPoint3d(degrees(0, 30), degrees(50, 30), 0)),
         CPoint3d(677274.99, osgbNorthing, 0), 0.01},
        {"EPSG geocentric", wgs84.GeoToEcf(epsgGeocentric), CPoint3d(3771793.968, 140253.342, 5124304.349),
         1e-3},
        {"EPSG geocentric inverse", wgs84.EcfToGeo(CPoint3d(3771793.968, 140253.342, 5124304.349)),
         epsgGeocentric, 5e-9},
    };
}

TEST(WorkedExamples, EveryPublishedExampleHoldsToItsLastDigit) {
    for (const Example& example : workedExamples()) {
        SCOPED_TRACE(example.source);
        EXPECT_NEAR(example.computed.x, example.expected.x, example.tolerance);
        EXPECT_NEAR(example.computed.y, example.expected.y, example.tolerance);
        // Heights and the third geocentric coordinate are metres even where the others are radians.
        EXPECT_NEAR(example.computed.z, example.expected.z, std::max(example.tolerance, 1e-3));
    }
}

} // namespace
