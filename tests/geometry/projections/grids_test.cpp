#include "geometry/projections/alti_convert.h"
#include "geometry/projections/ctes_proj.h"

#include "projection_folder.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr double kDegree = std::numbers::pi / 180;

CPoint3d degrees(double lon, double lat, double h = 0) {
    return {lon * kDegree, lat * kDegree, h};
}

// A 4 x 3 translation grid from (0, 40) by 1 degree whose node values are 10 i + j + k / 10 millimetres
// away from the default, in the ".MNT" layout.
std::string mntTranslationGrid(const std::string& header = "0 3 40 42 1 1 0 0 3 1") {
    std::string text = header + "\n";
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k)
                text += std::to_string(100 + 0.001 * (10 * i + j) + 0.0001 * k) + " ";
            text += "99\n"; // the q2 number
        }
    return text;
}

class Grids : public ProjectionFolder {
protected:
    Ellipsoide& ellipsoid(const char* gridFile) {
        Ellipsoide* e = new Ellipsoide();
        std::strcpy(e->name, "TEST");
        e->a = 6378137;
        e->e = 0.08;
        e->tx = e->ty = e->tz = 100;
        std::strcpy(e->gridFile, gridFile);
        return *e;
    }
    void TearDown() override {
        Ellipsoide::RemoveAll();
        ProjectionFolder::TearDown();
    }
};

TEST_F(Grids, TranslationGridInterpolatesBilinearlyFromTheFirstNodeOn) {
    write("T.MNT", mntTranslationGrid());
    Ellipsoide& e = ellipsoid("T.MNT");
    CPoint3d t;
    ASSERT_EQ(e.GetTranslat(degrees(0, 40), t), 3);
    EXPECT_NEAR(t.x, 100, 1e-12);
    EXPECT_EQ(e.columns, 4);
    EXPECT_EQ(e.rows, 3);
    ASSERT_EQ(e.GetTranslat(degrees(1.5, 40.25), t), 3);
    EXPECT_NEAR(t.x, 100 + 0.001 * (15 + 0.25), 1e-9);
    EXPECT_NEAR(t.y, 100 + 0.001 * (15 + 0.25), 1e-9); // k / 10 mm rounds to the same millimetre
    // The last column of cells has no far column: the default translation.
    EXPECT_EQ(e.GetTranslat(degrees(3, 41), t), 1);
    EXPECT_EQ(t, CPoint3d(100, 100, 100));
    EXPECT_EQ(e.GetTranslat(degrees(-0.01, 41), t), 1);
    EXPECT_EQ(e.GetTranslat(degrees(NAN, 41), t), 1);
    // No grid file: the default translation.
    EXPECT_EQ(ellipsoid("").GetTranslat(degrees(1, 41), t), 1);
}

TEST_F(Grids, TextGridNodesRoundToTheNearestNode) {
    // Nodes may stand a little off their place, on either side.
    write("G.TXT",
          "GR3D  header\n"
          "GR3D1 0 2 40 42 1 1\n"
          "00001 -0.0000001 39.9999999 100.0004 99.9995 100.0000  99  -0158 padding padding padding\n"
          "00002 2.0 42.0 100.010 100.020 100.030  99  -0158 padding to pass sixty-four chars\n"
          "00003 2.0 42.0 100.010  short line\n"
          "00004 9.0 42.0 100.010 100.020 100.030  99  -0158 beyond the last column, ignored\n");
    Ellipsoide& e = ellipsoid("G.TXT");
    CPoint3d t;
    ASSERT_EQ(e.GetTranslat(degrees(0, 40), t), 3);
    EXPECT_NEAR(t.x, 100, 1e-12);
    EXPECT_NEAR(t.y, 100 - 0.001, 1e-12); // -0.5 mm rounds to -1 mm, not to 0
    ASSERT_EQ(e.GetTranslat(degrees(1.999999, 41.999999), t), 3);
    EXPECT_NEAR(t.z, 100.030, 1e-6);
}

TEST_F(Grids, NonConformingTranslationGridsAreRefusedAndReported) {
    struct Case {
        const char* file;
        std::string text;
        int result;
    };
    const Case cases[] = {
        {"A.MNT", mntTranslationGrid("0 3 40 42 1 5 0 0 3 0"), 0},                    // latitude step 5
        {"B.MNT", mntTranslationGrid("0 3 40 42 0 1 0 0 3 0"), 0},                    // longitude step 0
        {"C.MNT", mntTranslationGrid("0 3 40 42 1 1 0 0 2 0"), 0},                    // two numbers per node
        {"D.MNT", mntTranslationGrid("0 1 40 42 1 1 0 0 3 0"), 0},                    // two columns
        {"E.MNT", mntTranslationGrid().substr(0, 200), 0},                            // truncated
        {"F.MNT", "0 3 40 42 1 1 0 0 3 0\n" + std::string(12, ' ') + "140 0 0\n", 0}, // +40 m wraps 16 bits
        {"G.MNT", "0 1e300 40 42 0.01 0.01 0 0 3 0\n", 0},                            // absurd size
        {"H.TXT", "GR3D1 0 2 40 42 0 1\n", 1},                                        // no longitude step
        {"I.TXT", "GR3D1 0 2 40 42 1 0\n", 1},                                        // no latitude step
        {"J.TXT", "no header at all\n", 2},
        {"K.TXT",
         "GR3D1 0 2 40 42 1 1\n00001 1 41 200 0 0 99 -0158 padding padding padding padding padding padding\n",
         0},
    };
    for (const Case& c : cases) {
        write(c.file, c.text);
        Ellipsoide& e = ellipsoid(c.file);
        CPoint3d t;
        EXPECT_EQ(e.GetTranslat(degrees(1, 41), t), c.result) << c.file;
        EXPECT_EQ(t, CPoint3d(100, 100, 100)) << c.file;
        EXPECT_EQ(e.grid, nullptr) << c.file;
        const bool reported =
            printed().find(std::string("Fichier:") + c.file + " Non Conforme") != std::string::npos;
        EXPECT_EQ(reported, c.result == 0) << c.file;
    }
    CPoint3d t;
    EXPECT_EQ(ellipsoid("MISSING.TXT").GetTranslat(degrees(1, 41), t), 1);
    EXPECT_NE(printed().find("\nImpossible d'ouvrir Fichier GRILLE:MISSING.TXT"), std::string::npos);
}

TEST_F(Grids, DatumShiftIsAGeocentricTranslationOnBothHemispheres) {
    Ellipsoide& from = ellipsoid("");
    Ellipsoide& same = ellipsoid("");
    CPoint3d geo = degrees(2, 45, 10);
    EXPECT_EQ(from.DatumShift(geo, &same), 0); // equal translations
    EXPECT_EQ(from.DatumShift(geo, nullptr), 0);
    EXPECT_EQ(from.DatumShift(geo, &from), 0);
    EXPECT_EQ(geo, degrees(2, 45, 10));
    Ellipsoide& to = ellipsoid("");
    to.ty = 0;
    for (double lat : {45.0, -45.0}) {
        CPoint3d p = degrees(2, lat, 10);
        const CPoint3d expected = from.GeoToEcf(p) + CPoint3d(0, 100, 0);
        ASSERT_EQ(from.DatumShift(p, &to), 1);
        const CPoint3d reached = to.GeoToEcf(p);
        EXPECT_NEAR(reached.x, expected.x, 1e-4);
        EXPECT_NEAR(reached.y, expected.y, 1e-4) << lat;
        EXPECT_NEAR(reached.z, expected.z, 1e-4);
    }
    CPoint3d bad(NAN, 0, 0);
    EXPECT_EQ(from.DatumShift(bad, &to), 0);
}

// A 3 x 3 height grid from (0, 40) by 1 degree; node (i, j) holds i + 10 j metres.
std::string heightGridPerLine(const std::string& header = "0 2 40 42 1 1 0 1 0 0") {
    std::string text = header + "\n";
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            text +=
                std::to_string(40 + j) + " " + std::to_string(i) + " " + std::to_string(i + 10 * j) + " 0\n";
    return text + "no value here\n";
}

std::string heightGridStream() {
    std::string text = "0 2 40 42 1 1 0 0 1 1\n"; // two more numbers after each value
    for (int j = 2; j >= 0; --j)
        for (int i = 0; i < 3; ++i)
            text += std::to_string(i + 10 * j) + " 7 8\n";
    return text;
}

TEST_F(Grids, HeightGridsInBothLayoutsConvertBackAndForth) {
    write("PERLINE.MNT", heightGridPerLine());
    write("STREAM.MNT", heightGridStream());
    for (const char* name : {"PERLINE.MNT", "STREAM.MNT"}) {
        AltiConvert* grid = AltiConvert::FindAltiConvert(name, 1);
        EXPECT_EQ(AltiConvert::FindAltiConvert(name, 0), grid);
        EXPECT_EQ(grid->LoadGRID(), 2) << name;
        EXPECT_EQ(grid->LoadGRID(), 1);
        EXPECT_NEAR(grid->Convert(100, degrees(0, 40), 1), 100, 1e-9) << name;
        EXPECT_NEAR(grid->Convert(100, degrees(1.5, 40.5), 1), 100 + 1.5 + 5, 1e-9) << name;
        EXPECT_NEAR(grid->Convert(100, degrees(1.5, 40.5), 0), 100 - 6.5, 1e-9);
        const double there = grid->Convert(123.456, degrees(0.3, 41.7), 1);
        EXPECT_NEAR(grid->Convert(there, degrees(0.3, 41.7), 0), 123.456, 1e-9);
        // The nodes of the last column and row interpolate; points beyond or below the grid pass the height
        // unchanged.
        EXPECT_NEAR(grid->Convert(100, degrees(2, 41), 1), 112, 1e-9) << name;
        EXPECT_NEAR(grid->Convert(100, degrees(1, 42), 1), 121, 1e-9) << name;
        EXPECT_NEAR(grid->Convert(100, degrees(2, 42), 1), 122, 1e-9) << name;
        EXPECT_EQ(grid->Convert(100, degrees(2.01, 41), 1), 100);
        double height = 100;
        EXPECT_FALSE(grid->convertInside(height, degrees(1, 42.01), 1));
        EXPECT_EQ(height, 100);
        EXPECT_EQ(grid->Convert(100, degrees(-0.5, 41), 1), 100); // less than a step below: still outside
        EXPECT_EQ(grid->Convert(100, degrees(1, NAN), 1), 100);
    }
    AltiConvert copy(*AltiConvert::FindAltiConvert("stream.mnt", 0));
    EXPECT_NE(copy.values, AltiConvert::FindAltiConvert("stream.mnt", 0)->values);
    EXPECT_EQ(copy.next, nullptr);
    EXPECT_NEAR(copy.Convert(0, degrees(1, 41), 1), 11, 1e-9);
}

TEST_F(Grids, BadHeightGridsPassHeightsUnchanged) {
    write("STEP5.MNT", heightGridPerLine("0 2 40 42 1 5 0 1 0 0"));
    write("LONSTEP0.MNT", heightGridPerLine("0 2 40 42 0 1 0 1 0 0"));
    write("HUGE.MNT", "0 2 40 42 1 1 0 1 0 0\n40 0 1e300 0\n");
    write("PLAIN.TXT", heightGridPerLine());
    for (const char* name : {"STEP5.MNT", "LONSTEP0.MNT", "HUGE.MNT", "PLAIN.TXT", "NOWHERE.MNT"}) {
        AltiConvert* grid = AltiConvert::FindAltiConvert(name, 1);
        EXPECT_EQ(grid->Convert(100, degrees(1, 41), 1), 100) << name;
        EXPECT_EQ(grid->values, nullptr) << name;
    }
    EXPECT_NE(printed().find("STEP5.MNT Non Conforme"), std::string::npos);
    EXPECT_NE(printed().find("LONSTEP0.MNT Non Conforme"), std::string::npos);
    EXPECT_NE(printed().find("HUGE.MNT Non Conforme"), std::string::npos);
    EXPECT_NE(printed().find("\nImpossible d'ouvrir Fichier GRILLE:NOWHERE.MNT"), std::string::npos);
    AltiConvert nameless;
    EXPECT_EQ(nameless.LoadGRID(), 0);
    const int boxesForMissingFiles =
        static_cast<int>(std::count_if(boxes.begin(), boxes.end(), [](auto& box) {
            return box.text.find("Impossible d'ouvrir") != std::string::npos;
        }));
    AltiConvert::FindAltiConvert("NOWHERE2.MNT", 1)->LoadGRID();
    EXPECT_EQ(boxesForMissingFiles, 1);
    EXPECT_EQ(
        std::count_if(boxes.begin(), boxes.end(),
                      [](auto& box) { return box.text.find("Impossible d'ouvrir") != std::string::npos; }),
        1);
}

TEST_F(Grids, StreamGridsWithABadWordOrCutShortAreRefusedWithThePlace) {
    const std::string good = heightGridStream();
    const std::size_t node11 = good.find("\n11 7 8\n") + 1; // on line 6
    const auto replaced = [&](const std::string& word) { return std::string(good).replace(node11, 2, word); };
    const std::pair<const char*, std::string> cases[] = {
        {"WORD.MNT", replaced("1l")},
        {"LONG.MNT", replaced(std::string(100, '1'))},
        {"NAN.MNT", replaced("nan")},
        {"CUT.MNT", good.substr(0, node11)},
        {"HEADER.MNT", good.substr(0, good.find('\n') + 1)},
    };
    const char* places[] = {", ligne 6 : \"1l\" n'est pas un nombre", ", ligne 6 : mot de plus de 99",
                            ", ligne 6 : valeur nan hors limites",
                            ", ligne 6 : fin du fichier apr\xe8s 4 valeurs sur 9",
                            ", ligne 2 : fin du fichier apr\xe8s 0 valeurs sur 9"};
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        write(cases[k].first, cases[k].second);
        AltiConvert* grid = AltiConvert::FindAltiConvert(cases[k].first, 1);
        EXPECT_EQ(grid->LoadGRID(), 0) << cases[k].first;
        EXPECT_EQ(grid->Convert(100, degrees(1, 41), 1), 100) << cases[k].first;
        EXPECT_NE(printed().find(std::string(cases[k].first) + " Non Conforme" + places[k]),
                  std::string::npos)
            << printed();
    }
    // The numbers closing the last record may be missing: the grid is full without them.
    write("LAST.MNT", good.substr(0, good.rfind(" 7 8")));
    EXPECT_NEAR(AltiConvert::FindAltiConvert("LAST.MNT", 1)->Convert(100, degrees(1, 41), 1), 111, 1e-9);
}

TEST_F(Grids, RemovingHeightGridsOneByOneOrAll) {
    AltiConvert* a = AltiConvert::FindAltiConvert("A.MNT", 1);
    AltiConvert::FindAltiConvert("B.MNT", 1);
    AltiConvert* c = AltiConvert::FindAltiConvert("C.MNT", 1);
    EXPECT_EQ(AltiConvert::FindAltiConvert("D.MNT", 0), nullptr);
    EXPECT_EQ(AltiConvert::g_FirstAltiConvert, c);
    EXPECT_EQ(AltiConvert::RemoveAltiConvert(a), 1);
    EXPECT_EQ(AltiConvert::FindAltiConvert("A.MNT", 0), nullptr);
    AltiConvert::FindAltiConvert("A2.MNT", 1);
    EXPECT_EQ(AltiConvert::RemoveAltiConvert(nullptr), 3);
    EXPECT_EQ(AltiConvert::g_FirstAltiConvert, nullptr);
}

} // namespace
