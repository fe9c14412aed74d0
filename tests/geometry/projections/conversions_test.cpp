#include "geometry/projections/ctes_proj.h"

#include "platform/system/swiss_reframe.h"
#include "services/startup/fvar.h"

#include "projection_folder.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180;

class Conversions : public ProjectionFolder {
protected:
    void SetUp() override {
        ProjectionFolder::SetUp();
        shipAll();
        ASSERT_NE(CtesProj::InitProjections(1), nullptr);
    }
    static CtesProj& projection(const char* name) {
        CtesProj* const found = CtesProj::GetProjection(name);
        if (!found) throw std::runtime_error(std::string("no projection ") + name);
        return *found;
    }
    // Forward then inverse of points within the given box (degrees) comes back within `tolerance` metres.
    static void expectRoundTrips(CtesProj& p, double lon0, double lon1, double lat0, double lat1,
                                 double tolerance) {
        std::mt19937 random(7);
        std::uniform_real_distribution<double> u(0, 1);
        for (int k = 0; k < 500; ++k) {
            const CPoint3d geo((lon0 + (lon1 - lon0) * u(random)) * kDegree,
                               (lat0 + (lat1 - lat0) * u(random)) * kDegree, 100 * u(random));
            CPoint3d xy;
            CPoint3d back;
            ASSERT_EQ(p.GeoToXy(geo, xy), 1) << p.name;
            ASSERT_EQ(p.XyToGeo(xy, back), 1) << p.name;
            CPoint3d again;
            ASSERT_EQ(p.GeoToXy(back, again), 1);
            EXPECT_NEAR(again.x, xy.x, tolerance) << p.name;
            EXPECT_NEAR(again.y, xy.y, tolerance) << p.name;
            EXPECT_NEAR(again.z, xy.z, tolerance);
        }
    }
};

TEST_F(Conversions, EveryTypeRoundTripsWithinAMillimetre) {
    expectRoundTrips(projection("L-93"), -5, 9, 41, 51, 0.001);
    expectRoundTrips(projection("LZ93-CC46"), 0, 6, 45, 47, 0.001);
    expectRoundTrips(projection("L-IIE"), -5, 9, 41, 51, 0.001);
    expectRoundTrips(projection("UTM31N"), 0, 6, 0, 80, 0.001);
    expectRoundTrips(projection("UTM31S"), 0, 6, -80, 0, 0.001);
    expectRoundTrips(projection("MERC-WEB"), -179, 179, -85, 85, 0.001);
    expectRoundTrips(projection("GEO-WGS84"), -180, 180, -90, 90, 1e-9);
    CtesProj& enu = projection("ENU:");
    enu.InitEnu(CPoint3d(2.35 * kDegree, 48.85 * kDegree, 35));
    enu.offsets.set(1000, 2000, 10);
    expectRoundTrips(enu, 2, 3, 48, 49, 0.001);
}

TEST_F(Conversions, SouthernTransverseMercatorAddsTenThousandKilometres) {
    const CPoint3d geo(4 * kDegree, 10 * kDegree, 0);
    CPoint3d north;
    CPoint3d south;
    ASSERT_EQ(projection("UTM31N").GeoToXy(geo, north), 1);
    ASSERT_EQ(projection("UTM31S").GeoToXy(geo, south), 1);
    EXPECT_DOUBLE_EQ(south.x, north.x);
    EXPECT_NEAR(south.y - north.y, 1e7, 1e-6);
    CPoint3d back;
    ASSERT_EQ(projection("UTM31S").XyToGeo(south, back), 1);
    EXPECT_NEAR(back.y, geo.y, 1e-9);
    // The central meridian maps onto the false easting.
    CPoint3d centre;
    projection("UTM31N").GeoToXy(CPoint3d(3 * kDegree, 45 * kDegree, 0), centre);
    EXPECT_NEAR(centre.x, 500000, 1e-6);
}

TEST_F(Conversions, TheMeridianIsSubtractedForwardAndAddedBack) {
    CtesProj shifted = projection("GEO-WGS84");
    shifted.meridian = 2 * kDegree;
    CPoint3d xy;
    ASSERT_EQ(shifted.GeoToXy(CPoint3d(5 * kDegree, 45 * kDegree, 0), xy), 1);
    EXPECT_NEAR(xy.x, 3, 1e-12);
    CtesProj webShifted = projection("MERC-WEB");
    webShifted.meridian = 2 * kDegree;
    CPoint3d web;
    CPoint3d geo;
    ASSERT_EQ(webShifted.GeoToXy(CPoint3d(2 * kDegree, 0, 0), web), 1);
    EXPECT_NEAR(web.x, 0, 1e-9);
    ASSERT_EQ(webShifted.XyToGeo(web, geo), 1);
    EXPECT_NEAR(geo.x, 2 * kDegree, 1e-15);
    // Lambert II etendu has its origin on the Paris meridian.
    CtesProj& lambert = projection("L-IIE");
    ASSERT_EQ(lambert.GeoToXy(CPoint3d(2.33722917 * kDegree, 47 * kDegree, 0), xy), 1);
    EXPECT_NEAR(xy.x, 600000, 1e-6);
    ASSERT_EQ(lambert.XyToGeo(xy, geo), 1);
    EXPECT_NEAR(geo.x, 2.33722917 * kDegree, 1e-12);
}

TEST_F(Conversions, FailuresLeaveTheOutputUntouched) {
    const CPoint3d marker(-1, -2, -3);
    const CPoint3d bad[] = {{NAN, 0.8, 0}, {0.05, INFINITY, 0}, {0.05, 0.8, NAN}};
    for (const char* name : {"L-93", "UTM31N", "MERC-WEB", "GEO-WGS84", "ENU:"}) {
        for (const CPoint3d& p : bad) {
            CPoint3d out = marker;
            EXPECT_EQ(projection(name).GeoToXy(p, out), 0) << name;
            EXPECT_EQ(projection(name).XyToGeo(p, out), 0) << name;
            EXPECT_EQ(out, marker);
        }
    }
    // A local frame that InitEnu never set converts nothing.
    CPoint3d out = marker;
    EXPECT_EQ(projection("ENU:").GeoToXy(CPoint3d(0.05, 0.8, 0), out), 0);
    EXPECT_EQ(projection("ENU:").XyToGeo(CPoint3d(1, 2, 3), out), 0);
    EXPECT_EQ(out, marker);
    CtesProj unknown = projection("L-93");
    unknown.name[0] = 'Q';
    EXPECT_EQ(unknown.GeoToXy(CPoint3d(0.05, 0.8, 0), out), 0);
    EXPECT_EQ(unknown.ProjScale(CPoint3d(700000, 6600000, 0), nullptr), 1);
    CtesProj orphan = projection("L-93");
    orphan.ellipsoid = nullptr;
    EXPECT_EQ(orphan.GeoToXy(CPoint3d(0.05, 0.8, 0), out), 0);
    EXPECT_EQ(orphan.GeoToEcf(CPoint3d(0.05, 0.8, 0), out), 0);
    EXPECT_EQ(out, marker);
}

TEST_F(Conversions, NorthingsBeyondThePoleAreNoPoint) {
    for (const CPoint3d& xy : {CPoint3d(500000, 12e6, 0), CPoint3d(500000, -12e6, 0)}) {
        CPoint3d out(-1, -2, -3);
        EXPECT_EQ(projection("UTM31N").XyToGeo(xy, out), 0) << xy.y;
        EXPECT_EQ(out, CPoint3d(-1, -2, -3));
    }
    CtesProj degreesTooFar = projection("GEO-WGS84");
    CPoint3d out(-1, -2, -3);
    EXPECT_EQ(degreesTooFar.XyToGeo(CPoint3d(0, 91, 0), out), 0);
    EXPECT_EQ(out, CPoint3d(-1, -2, -3));
}

TEST_F(Conversions, TheLambertInverseGivesUpOnPointsItCannotReach) {
    CPoint3d out(-1, -2, -3);
    EXPECT_EQ(projection("L-93").XyToGeo(CPoint3d(700000, -1e300, 0), out), 0); // the far pole
    EXPECT_EQ(out, CPoint3d(-1, -2, -3));
    EXPECT_NE(printed().find("\nTransformation Impossible"), std::string::npos);
}

TEST_F(Conversions, GeocentricCoordinatesAtTheAntimeridianAndOnThePolarAxis) {
    const Ellipsoide& wgs84 = *Ellipsoide::Find("WGS84");
    const double b = wgs84.a * std::sqrt(1 - wgs84.e * wgs84.e);
    for (const CPoint3d geo : {CPoint3d(kPi, 0.3, 10), CPoint3d(-kPi / 2, -0.7, 2000),
                               CPoint3d(0.2, kPi / 2, 50), CPoint3d(0.2, -kPi / 2, 50)}) {
        const CPoint3d back = wgs84.EcfToGeo(wgs84.GeoToEcf(geo));
        if (std::fabs(geo.y) < kPi / 2) {
            EXPECT_NEAR(std::remainder(back.x - geo.x, 2 * kPi), 0, 1e-12);
        }
        EXPECT_NEAR(back.y, geo.y, 1e-10);
        EXPECT_NEAR(back.z, geo.z, 1e-4);
    }
    const CPoint3d pole = wgs84.EcfToGeo(CPoint3d(0, 0, -b - 12));
    EXPECT_EQ(pole.y, -kPi / 2);
    EXPECT_NEAR(pole.z, 12, 1e-9);
}

TEST_F(Conversions, ScaleFactors) {
    CtesProj& l93 = projection("L-93");
    CPoint3d xy;
    // On a standard parallel the Lambert scale is 1.
    l93.GeoToXy(CPoint3d(3 * kDegree, 49 * kDegree, 0), xy);
    EXPECT_NEAR(l93.ProjScale(xy, nullptr), 1, 1e-12);
    CtesProj& utm = projection("UTM31N");
    EXPECT_DOUBLE_EQ(utm.ProjScale(CPoint3d(500000, 5e6, 0), nullptr), 0.9996);
    EXPECT_EQ(utm.ProjScale(CPoint3d(1500000, 5e6, 0), nullptr), 1); // beyond 1.01: not computable
}

// Records the calls the Swiss zones make and answers with given flags.
struct FakeReframe final : platform::SwissReframe {
    std::vector<std::vector<int>>* calls;
    int flag;
    FakeReframe(std::vector<std::vector<int>>* c, int f) : calls(c), flag(f) {}
    int gpsReference(double& x, double& y, double&, int code) override {
        calls->push_back({code});
        x += 1;
        y += 1;
        return flag;
    }
    int changeFrame(double&, double&, double& z, int a, int b, int c, int d) override {
        calls->push_back({a, b, c, d});
        z += 1;
        return flag;
    }
};

TEST_F(Conversions, SwissZonesGoThroughTheReframeProvider) {
    CtesProj& swiss = projection("CH1903+");
    CPoint3d out(-1, -2, -3);
    EXPECT_EQ(swiss.GeoToXy(CPoint3d(0.1, 0.8, 400), out), 0);
    EXPECT_NE(printed().find("Installez la librarie 'COM' 64 bits 'swisstopoReframeLib.dll'"),
              std::string::npos);
    EXPECT_EQ(out, CPoint3d(-1, -2, -3));

    std::vector<std::vector<int>> calls;
    platform::setSwissReframe(std::make_unique<FakeReframe>(&calls, 1));
    swiss.p0 = 7.9;
    ASSERT_EQ(swiss.GeoToXy(CPoint3d(kDegree, 2 * kDegree, 400), out), 3);
    EXPECT_EQ(out, CPoint3d(2, 3, 401));
    ASSERT_EQ(swiss.XyToGeo(CPoint3d(2600000, 1200000, 400), out), 3);
    EXPECT_NEAR(out.x, 2600001 * kDegree, 1e-6);
    EXPECT_EQ(calls, (std::vector<std::vector<int>>{{1}, {1, 1, 2, 7}, {1, 1, 7, 2}, {3}}));

    platform::setSwissReframe(std::make_unique<FakeReframe>(&calls, 0));
    out.set(-1, -2, -3);
    EXPECT_EQ(swiss.XyToGeo(CPoint3d(12.5, 7.25, 0), out), 0);
    EXPECT_EQ(out, CPoint3d(-1, -2, -3));
    EXPECT_NE(printed().find("ERREUR XyToGeo: Point (12.50,7.25) hors zone SWISSTOPO"), std::string::npos);
    EXPECT_EQ(swiss.GeoToXy(CPoint3d(0.5, 0.25, 0), out), 0);
    EXPECT_NE(printed().find("ERREUR GeoToXy : Point (-1.00,-2.00) hors zone SWISSTOPO"), std::string::npos)
        << "the output point as the call found it";
    EXPECT_EQ(out, CPoint3d(-1, -2, -3));
    platform::setSwissReframe(nullptr);
}

TEST_F(Conversions, TransformToKeepsHeightsByItsGridRules) {
    AltiConvert* const egm = AltiConvert::FindAltiConvert("EGM96_FRANCE.MNT", 1);
    CtesProj& l2e = projection("L-IIE");
    CtesProj& l93 = projection("L-93");
    const CPoint3d start(600000, 2430000, 100);
    CPoint3d there;
    CPoint3d geo;
    ASSERT_EQ(l2e.TransformTo(&l93, start, there, AltiConvert::NoStep(), egm, &geo), 3);
    CPoint3d sourceGeo;
    l2e.XyToGeo(start, sourceGeo);
    EXPECT_NEAR(there.z, 100 - egm->Convert(0, geo, 1), 1e-9); // target grid: ellipsoidal height to altitude
    CPoint3d back;
    ASSERT_EQ(l93.TransformTo(&l2e, there, back, egm, AltiConvert::NoStep(), nullptr), 3);
    EXPECT_NEAR(back.x, start.x, 0.001);
    EXPECT_NEAR(back.y, start.y, 0.001);
    EXPECT_NEAR(back.z, start.z, 0.001);
    // The same grid on both sides keeps the height; no grid and no mark keeps it too.
    ASSERT_EQ(l2e.TransformTo(&l93, start, there, egm, egm, nullptr), 3);
    EXPECT_EQ(there.z, 100);
    ASSERT_EQ(l2e.TransformTo(&l93, start, there, nullptr, nullptr, nullptr), 3);
    EXPECT_EQ(there.z, 100);
    // Marks on both sides take the height of the datum shift.
    ASSERT_EQ(l2e.TransformTo(&l93, start, there, AltiConvert::NoStep(), AltiConvert::NoStep(), &geo), 3);
    EXPECT_EQ(there.z, geo.z);
    EXPECT_NE(there.z, 100);
    // Into itself: the same point with the new height.
    ASSERT_EQ(l2e.TransformTo(&l2e, start, there, egm, nullptr, nullptr), 1);
    EXPECT_EQ(there.x, start.x);
    EXPECT_NEAR(there.z, 100 + egm->Convert(0, sourceGeo, 1), 1e-9);
    EXPECT_EQ(l2e.TransformTo(nullptr, start, there, nullptr, nullptr, nullptr), 0);
}

TEST_F(Conversions, TransformToFailsWhereAHeightGridAskedForIsMissingOrDoesNotReach) {
    AltiConvert* const egm = AltiConvert::FindAltiConvert("EGM96_FRANCE.MNT", 1);
    AltiConvert* const missing = AltiConvert::FindAltiConvert("NOWHERE.MNT", 1);
    CtesProj& l93 = projection("L-93");
    CtesProj& utm = projection("UTM31N");
    CPoint3d inFrance;
    CPoint3d inSpain;
    ASSERT_EQ(l93.GeoToXy(CPoint3d(2 * kDegree, 47 * kDegree, 100), inFrance), 1);
    ASSERT_EQ(l93.GeoToXy(CPoint3d(-4 * kDegree, 38 * kDegree, 100), inSpain), 1);
    struct Case {
        const CPoint3d& point;
        AltiConvert* sourceGrid;
        AltiConvert* targetGrid;
    };
    const Case failing[] = {{inSpain, AltiConvert::NoStep(), egm},
                            {inSpain, egm, nullptr},
                            {inSpain, nullptr, egm},
                            {inFrance, missing, nullptr},
                            {inFrance, AltiConvert::NoStep(), missing}};
    for (const Case& c : failing) {
        CPoint3d out(-1, -2, -3);
        EXPECT_EQ(l93.TransformTo(&utm, c.point, out, c.sourceGrid, c.targetGrid, nullptr), 0);
        EXPECT_EQ(out, CPoint3d(-1, -2, -3));
    }
    CPoint3d out;
    EXPECT_EQ(l93.TransformTo(&utm, inFrance, out, egm, nullptr, nullptr), 3);
    EXPECT_EQ(l93.TransformTo(&utm, inSpain, out, egm, egm, nullptr), 3) << "the same grid is no step";
}

TEST(MapFrames, TilePixelsHtcFramesAndAngles) {
    EXPECT_EQ(GmapsLgnLatToPoint(CPoint3d(0, 0, 5), 0), CPoint3d(128, 128, 5));
    EXPECT_EQ(GmapsLgnLatToPoint(CPoint3d(0, 0, 0), 2), CPoint3d(512, 512, 0));
    const CPoint3d paris(2.35 * kDegree, 48.85 * kDegree, 0);
    const CPoint3d back = GmapsPointToLgnLat(GmapsLgnLatToPoint(paris, 17), 17);
    EXPECT_NEAR(back.x, paris.x, 1e-12);
    EXPECT_NEAR(back.y, paris.y, 1e-12);
    const double* scales = GmapsPixelScaleSize(0);
    EXPECT_NEAR(scales[0], 2 * kPi * 6378137 / 256, 1e-3);
    EXPECT_NEAR(scales[21], scales[0] / (1 << 21), 1e-12);
    EXPECT_EQ(GmapsPixelScaleSize(NAN)[3], GmapsPixelScaleSize(0)[3]);

    const double savedMode = vfVar.htcMode;
    for (double mode : {2.0, 1.0}) {
        vfVar.htcMode = mode;
        CPoint3d p = paris;
        EXPECT_EQ(CtesProj::GeoToHTC(p), mode == 2 ? 2 : 1);
        EXPECT_EQ(CtesProj::HTCToGeo(p), mode == 2 ? 2 : 1);
        EXPECT_NEAR(p.x, paris.x, 1e-15);
        EXPECT_NEAR(p.y, paris.y, 1e-15);
    }
    vfVar.htcMode = savedMode;

    EXPECT_EQ(GisEcartRD(3), 3);
    EXPECT_NEAR(GisEcartRD(3 * kPi / 2), -kPi / 2, 1e-15);
    EXPECT_NEAR(GisEcartRD(-7 * kPi / 2), kPi / 2, 1e-15);
}

TEST(MapFrames, EarthCurvatureDrop) {
    EXPECT_NEAR(GetDzCourbureTerre(CPoint3d(0, 0, 0), CPoint3d(600, 800, 50)), 0.0784, 1e-4);
    EXPECT_EQ(GetDzCourbureTerre(CPoint3d(0, 0, 0), CPoint3d(100000, 0, 0)), 0);
}

} // namespace
