// The projection conversions, datum shifts and height grids against PROJ, on the shipped definition file.
#include "geometry/projections/ctes_proj.h"

#include "services/startup/fvar.h"

#include "proj_oracle.h"
#include "tests/geometry/projections/projection_folder.h"

#include <cmath>
#include <numbers>
#include <random>
#include <string>

namespace {

using testing_support::ProjOracle;

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180;
constexpr int kPoints = 10000;

// Random geographic points (radians) in a box given in degrees, heights from -100 to 3,000 m.
class RandomPoints {
public:
    RandomPoints(double lon0, double lon1, double lat0, double lat1)
        : lon_(lon0 * kDegree, lon1 * kDegree), lat_(lat0 * kDegree, lat1 * kDegree), h_(-100, 3000) {}
    CPoint3d next() { return {lon_(random_), lat_(random_), h_(random_)}; }

private:
    std::mt19937_64 random_{2027};
    std::uniform_real_distribution<double> lon_, lat_, h_;
};

class ProjectionsAgainstProj : public ProjectionFolder {
protected:
    void SetUp() override {
        ProjectionFolder::SetUp();
        shipAll();
        ASSERT_NE(CtesProj::InitProjections(1), nullptr);
    }

    // Forward on random points against PROJ, and the inverse of PROJ's projected points.
    static void compare(int epsg, const std::string& definition, RandomPoints points, double tolerance,
                        double angleTolerance) {
        CtesProj* const projection = CtesProj::GetProjFromEpsg(epsg);
        ASSERT_NE(projection, nullptr) << epsg;
        const ProjOracle oracle(definition);
        for (int k = 0; k < kPoints; ++k) {
            const CPoint3d geo = points.next();
            CPoint3d xy;
            ASSERT_EQ(projection->GeoToXy(geo, xy), 1);
            const CPoint3d expected = oracle.forward(geo);
            ASSERT_NEAR(xy.x, expected.x, tolerance) << epsg << " at " << geo.x << ", " << geo.y;
            ASSERT_NEAR(xy.y, expected.y, tolerance) << epsg << " at " << geo.x << ", " << geo.y;
            CPoint3d back;
            ASSERT_EQ(projection->XyToGeo(expected, back), 1);
            ASSERT_NEAR(back.x, geo.x, angleTolerance) << epsg;
            ASSERT_NEAR(back.y, geo.y, angleTolerance) << epsg;
            ASSERT_EQ(back.z, expected.z);
        }
    }
    static void compareEpsg(int epsg, RandomPoints points, double tolerance) {
        // A millimetre is about 1.6e-10 rad on the ground.
        compare(epsg, ProjOracle::projectionOf(epsg), points, tolerance, tolerance * 1.6e-7);
    }
};

TEST_F(ProjectionsAgainstProj, LambertProjectionsOfFrance) {
    compareEpsg(2154, RandomPoints(-5.5, 10, 41, 51.5), 0.001);
    for (int zone = 42; zone <= 50; ++zone)
        compareEpsg(3900 + zone, RandomPoints(-5.5, 10, zone - 1, zone + 1), 0.001);
    compareEpsg(27572, RandomPoints(-5.5, 10, 41, 51.5), 0.001); // +pm=paris
}

TEST_F(ProjectionsAgainstProj, TransverseMercatorWithinThreeDegreesOfItsMeridian) {
    compareEpsg(32631, RandomPoints(0, 6, 0, 84), 0.002);
    compareEpsg(32731, RandomPoints(0, 6, -80, 0), 0.002);
}

TEST_F(ProjectionsAgainstProj, WebMercatorAndGeographicDegrees) {
    compareEpsg(3857, RandomPoints(-180, 180, -85, 85), 0.001);
    compare(4326,
            "+proj=pipeline +step " + ProjOracle::projectionOf(4326) +
                " +step +proj=unitconvert +xy_in=rad +xy_out=deg",
            RandomPoints(-180, 180, -90, 90), 1e-12, 1e-15);
}

// At the edges of each projection: across the antimeridian, at the cone's apex, far round the cone, and
// points that are none, refused on both sides with the output left as it was.
TEST_F(ProjectionsAgainstProj, EdgesOfTheProjections) {
    CtesProj zone1 = *CtesProj::GetProjFromEpsg(32631);
    zone1.p0 = -177 * kDegree;
    CtesProj zone60 = zone1;
    zone60.p0 = 177 * kDegree;
    CtesProj& l93 = *CtesProj::GetProjFromEpsg(2154);
    const std::string utm = "+proj=utm +ellps=WGS84 +zone=";
    const std::string lcc = ProjOracle::projectionOf(2154);
    struct Case {
        CtesProj* projection;
        std::string definition;
        CPoint3d geo; // degrees, forward then back from PROJ's point
    };
    const Case agreeing[] = {
        {&zone1, utm + "1", {179.5, 10, 0}},  {&zone60, utm + "60", {-179.5, 10, 0}},
        {&zone60, utm + "60", {180, -30, 0}}, {&l93, lcc, {3, 90, 0}},
        {&l93, lcc, {40, 89.999, 0}},         {&l93, lcc, {-179.9, 45, 0}},
        {&l93, lcc, {-120, -60, 0}},
    };
    for (const Case& c : agreeing) {
        const ProjOracle oracle(c.definition);
        const CPoint3d geo(c.geo.x * kDegree, c.geo.y * kDegree, 0);
        const CPoint3d expected = oracle.forward(geo);
        CPoint3d xy;
        ASSERT_EQ(c.projection->GeoToXy(geo, xy), 1) << c.geo.x << ", " << c.geo.y;
        EXPECT_NEAR(xy.x, expected.x, 0.002) << c.geo.x << ", " << c.geo.y;
        EXPECT_NEAR(xy.y, expected.y, 0.002) << c.geo.x << ", " << c.geo.y;
        CPoint3d back;
        ASSERT_EQ(c.projection->XyToGeo(expected, back), 1) << c.geo.x << ", " << c.geo.y;
        const CPoint3d expectedBack = oracle.inverse(expected);
        if (std::fabs(c.geo.y) < 90) {
            EXPECT_NEAR(std::remainder(back.x - expectedBack.x, 2 * kPi), 0, 1e-9)
                << c.geo.x << ", " << c.geo.y;
        }
        EXPECT_NEAR(back.y, expectedBack.y, 1e-9) << c.geo.x << ", " << c.geo.y;
    }
    const CPoint3d marker(-1, -2, -3);
    const CPoint3d notGeographic[] = {{0.05, 2, 0}, {0.05, -3, 0}, {0.05, 1e300, 0}, {1e300, 0.8, 0}};
    for (const CPoint3d& geo : notGeographic) {
        EXPECT_TRUE(std::isinf(ProjOracle(utm + "31").forward(geo).x)) << geo.x << ", " << geo.y;
        for (CtesProj* projection : {&zone1, &l93, CtesProj::GetProjFromEpsg(3857)}) {
            CPoint3d out = marker;
            EXPECT_EQ(projection->GeoToXy(geo, out), 0) << projection->name << " " << geo.x << ", " << geo.y;
            EXPECT_EQ(out, marker);
        }
    }
    const CPoint3d farEast(-5e7, 1e6, 0);
    EXPECT_TRUE(std::isinf(ProjOracle(utm + "31").inverse(farEast).x));
    CPoint3d out = marker;
    EXPECT_EQ(CtesProj::GetProjFromEpsg(32631)->XyToGeo(farEast, out), 0);
    EXPECT_EQ(out, marker);
}

TEST_F(ProjectionsAgainstProj, GeocentricCoordinates) {
    const ProjOracle cart("+proj=cart +ellps=WGS84");
    const Ellipsoide& wgs84 = *Ellipsoide::Find("WGS84");
    RandomPoints points(-180, 180, -90, 90);
    for (int k = 0; k < kPoints; ++k) {
        const CPoint3d geo = points.next();
        const CPoint3d ecf = wgs84.GeoToEcf(geo);
        const CPoint3d expected = cart.forward(geo);
        ASSERT_NEAR((ecf - expected).dist3d(), 0, 0.001);
        const CPoint3d back = wgs84.EcfToGeo(expected);
        const CPoint3d expectedGeo = cart.inverse(expected);
        // Compared on the ground: a longitude near a pole means little.
        ASSERT_NEAR((wgs84.GeoToEcf(back) - expected).dist3d(), 0, 0.001);
        ASSERT_NEAR(back.z, expectedGeo.z, 0.001);
    }
}

TEST_F(ProjectionsAgainstProj, LocalFrames) {
    CtesProj* const enu = CtesProj::GetProjection("ENU:");
    ASSERT_NE(enu, nullptr);
    const CPoint3d origin(2.35 * kDegree, 48.85 * kDegree, 35);
    enu->InitEnu(origin);
    const ProjOracle topocentric(
        "+proj=pipeline +step +proj=cart +ellps=WGS84 +step +proj=topocentric +ellps=WGS84 +lon_0=2.35 "
        "+lat_0=48.85 +h_0=35");
    RandomPoints points(1.35, 3.35, 47.85, 49.85);
    for (int k = 0; k < kPoints; ++k) {
        const CPoint3d geo = points.next();
        CPoint3d local;
        ASSERT_EQ(enu->GeoToXy(geo, local), 1);
        const CPoint3d expected = topocentric.forward(geo);
        ASSERT_NEAR((local - expected).dist3d(), 0, 0.001);
        CPoint3d back;
        ASSERT_EQ(enu->XyToGeo(expected, back), 1);
        ASSERT_NEAR((enu->ellipsoid->GeoToEcf(back) - enu->ellipsoid->GeoToEcf(geo)).dist3d(), 0, 0.001);
    }
}

TEST_F(ProjectionsAgainstProj, HtcFrames) {
    const double savedMode = vfVar.htcMode;
    for (const double mode : {1.0, 2.0}) {
        vfVar.htcMode = mode;
        const ProjOracle oracle(mode < 2 ? "+proj=eqc +lat_ts=46.5 +R=6378137" : "+proj=merc +R=6378137");
        RandomPoints points(-180, 180, -85, 85);
        for (int k = 0; k < kPoints; ++k) {
            const CPoint3d geo = points.next();
            CPoint3d p = geo;
            CtesProj::GeoToHTC(p);
            const CPoint3d expected = oracle.forward(geo);
            ASSERT_NEAR(p.x, expected.x, 0.001) << mode;
            ASSERT_NEAR(p.y, expected.y, 0.001) << mode;
        }
    }
    vfVar.htcMode = savedMode;
}

TEST_F(ProjectionsAgainstProj, LambertScaleAndConvergence) {
    for (const int epsg : {2154, 3946, 27572}) {
        CtesProj* const projection = CtesProj::GetProjFromEpsg(epsg);
        const ProjOracle oracle(ProjOracle::projectionOf(epsg));
        RandomPoints points(-5, 9.5, 42, 51);
        for (int k = 0; k < 1000; ++k) {
            CPoint3d geo = points.next();
            geo.z = 0;
            CPoint3d xy;
            ASSERT_EQ(projection->GeoToXy(geo, xy), 1);
            // PROJ's factors ignore its prime meridian: they take the longitude from it.
            const PJ_FACTORS expected = oracle.factors(CPoint3d(geo.x - projection->meridian, geo.y, 0));
            const double scale = projection->ProjScale(xy, &geo);
            if (expected.meridional_scale <= 1.01 && expected.meridional_scale >= 0.99) {
                ASSERT_NEAR(scale, expected.meridional_scale, 1e-9) << epsg;
            }
            ASSERT_NEAR(projection->AConvergence(xy, &geo), expected.meridian_convergence, 1e-6) << epsg;
        }
    }
}

TEST_F(ProjectionsAgainstProj, DatumShiftFromClarkeToGrs80) {
    Ellipsoide* const clarke = Ellipsoide::Find("CLARKE80IGN");
    Ellipsoide* const grs80 = Ellipsoide::Find("GRS80");
    ASSERT_TRUE(clarke && grs80);
    const auto helmert = [](const CPoint3d& t) {
        return "+proj=pipeline +step +proj=cart +ellps=clrk80ign +step +proj=helmert +x=" +
               std::to_string(t.x) + " +y=" + std::to_string(t.y) + " +z=" + std::to_string(t.z) +
               " +step +inv +proj=cart +ellps=GRS80";
    };
    // Inside the synthetic grid: the interpolated translation; at a southern point: the default one.
    RandomPoints inside(-5, 9.4, 41.1, 51.9);
    RandomPoints south(-70, -40, -50, -10);
    for (RandomPoints* points : {&inside, &south}) {
        for (int k = 0; k < 300; ++k) {
            const CPoint3d geo = points->next();
            CPoint3d translation;
            const int found = clarke->GetTranslat(geo, translation);
            ASSERT_EQ(found, points == &inside ? 3 : 1);
            CPoint3d shifted = geo;
            ASSERT_EQ(clarke->DatumShift(shifted, grs80), 1);
            const ProjOracle oracle(helmert(translation));
            const CPoint3d expected = oracle.forward(geo);
            ASSERT_NEAR((grs80->GeoToEcf(shifted) - grs80->GeoToEcf(expected)).dist3d(), 0, 0.001);
        }
    }
}

TEST_F(ProjectionsAgainstProj, HeightsThroughTheGeoidExtract) {
    const ProjOracle geoid("+proj=vgridshift +grids=egm96_15.gtx +multiplier=1");
    for (const char* name : {"EGM96_FRANCE.MNT", "EGM96_FRANCE_L.MNT"}) {
        AltiConvert* const grid = AltiConvert::FindAltiConvert(name, 1);
        RandomPoints points(-5.5, 9.99, 41, 51.49);
        for (int k = 0; k < kPoints; ++k) {
            const CPoint3d geo = points.next();
            ASSERT_NEAR(grid->Convert(geo.z, geo, 1), geoid.forward(geo).z, 0.001) << name;
        }
        // The last column and row are nodes.
        for (const CPoint3d& edge : {CPoint3d(10, 45.3, 7), CPoint3d(3.1, 51.5, 7), CPoint3d(10, 51.5, 7)}) {
            const CPoint3d geo(edge.x * kDegree, edge.y * kDegree, edge.z);
            double height = geo.z;
            ASSERT_TRUE(grid->convertInside(height, geo, 1)) << name;
            EXPECT_NEAR(height, geoid.forward(geo).z, 0.001) << name;
        }
    }
}

// NTF Lambert to L-93 through the shipped NTF -> RGF93 grid, and back, against PROJ's pipeline through the
// mapping agency's ntf_r93.gsb. Compared at height 0: the grid is a geocentric translation, the gsb a shift
// of latitude and longitude, and the two part by some 1.5e-5 of the height.
TEST_F(ProjectionsAgainstProj, NtfLambertToL93ThroughTheShippedGrid) {
    CtesProj* const l2e = CtesProj::GetProjFromEpsg(27572);
    CtesProj* const l93 = CtesProj::GetProjFromEpsg(2154);
    const ProjOracle oracle("+proj=pipeline +step +inv " + ProjOracle::projectionOf(27572) +
                            " +step +proj=hgridshift +grids=ntf_r93.gsb +step " +
                            ProjOracle::projectionOf(2154));
    RandomPoints points(-4.8, 9.5, 41.4, 51.1);
    for (int k = 0; k < kPoints; ++k) {
        CPoint3d geo = points.next();
        geo.z = 0;
        CPoint3d start;
        ASSERT_EQ(l2e->GeoToXy(geo, start), 1);
        const CPoint3d expected = oracle.forward(start);
        ASSERT_FALSE(std::isinf(expected.x)) << geo.x << ", " << geo.y;
        CPoint3d there;
        ASSERT_EQ(l2e->TransformTo(l93, start, there, nullptr, nullptr, nullptr), 3);
        ASSERT_NEAR(there.x, expected.x, 0.01) << geo.x / kDegree << ", " << geo.y / kDegree;
        ASSERT_NEAR(there.y, expected.y, 0.01) << geo.x / kDegree << ", " << geo.y / kDegree;
        CPoint3d back;
        ASSERT_EQ(l93->TransformTo(l2e, expected, back, nullptr, nullptr, nullptr), 3);
        ASSERT_NEAR(back.x, start.x, 0.01) << geo.x / kDegree << ", " << geo.y / kDegree;
        ASSERT_NEAR(back.y, start.y, 0.01) << geo.x / kDegree << ", " << geo.y / kDegree;
    }
}

// L-IIE to L-93 and back, the height through the grids given for the way there and the way back.
void expectLambertRoundTrips(AltiConvert* thereFrom, AltiConvert* thereTo, AltiConvert* backFrom,
                             AltiConvert* backTo, double horizontalTolerance) {
    CtesProj* const l2e = CtesProj::GetProjFromEpsg(27572);
    CtesProj* const l93 = CtesProj::GetProjFromEpsg(2154);
    RandomPoints points(-4.5, 8.5, 42, 51);
    for (int k = 0; k < kPoints; ++k) {
        CPoint3d start;
        ASSERT_EQ(l2e->GeoToXy(points.next(), start), 1);
        CPoint3d there;
        CPoint3d back;
        ASSERT_EQ(l2e->TransformTo(l93, start, there, thereFrom, thereTo, nullptr), 3);
        ASSERT_EQ(l93->TransformTo(l2e, there, back, backFrom, backTo, nullptr), 3);
        ASSERT_NEAR(back.x, start.x, horizontalTolerance);
        ASSERT_NEAR(back.y, start.y, horizontalTolerance);
        ASSERT_NEAR(back.z, start.z, 0.001);
    }
}

TEST_F(ProjectionsAgainstProj, LambertRoundTripsThroughBothDatums) {
    expectLambertRoundTrips(nullptr, nullptr, nullptr, nullptr, 0.001);
    // Through the geoid, the way back shifts the datum at the altitude (some 50 m lower than the height the
    // way there used): a 370 m geocentric shift then lands up to 50 / 6.4e6 * 370 m = 1.1 mm apart.
    AltiConvert* const geoid = AltiConvert::FindAltiConvert("EGM96_FRANCE.MNT", 1);
    expectLambertRoundTrips(AltiConvert::NoStep(), geoid, geoid, AltiConvert::NoStep(), 0.0015);
}

} // namespace
