#include "geometry/projections/ctes_proj.h"

#include "projection_folder.h"

#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr double kPi = std::numbers::pi;

// A small definition file; `version` goes before the projections when not empty.
std::string definitions(const std::string& projections, const std::string& version = "VERSION = 1\n") {
    return "' comment line\n"
           "[ELLIPSOIDES]\n"
           "GRS80 = 6378137, 0.0818191910428158, 0, 0, 0\n"
           "[PROJECTIONS]\n" +
           version + projections;
}

using ProjectionFile = ProjectionFolder;

TEST_F(ProjectionFile, NamesMatchOverFourCharactersAtLeast) {
    shipAll();
    ASSERT_NE(CtesProj::InitProjections(1), nullptr);
    CtesProj* const l93 = CtesProj::GetProjection("L-93");
    ASSERT_NE(l93, nullptr);
    EXPECT_STREQ(l93->name, "L-93 : Lambert 93");
    EXPECT_EQ(CtesProj::GetProjection("L-93 :"), l93);
    EXPECT_EQ(CtesProj::GetProjection("L-9"), nullptr); // the fourth character compared is the end of "L-9"
    EXPECT_EQ(CtesProj::GetProjection("*"), CtesProj::g_pFirstCtesProj);
    EXPECT_EQ(CtesProj::GetProjection("_L-93"), nullptr);
    EXPECT_EQ(CtesProj::GetProjection(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_EQ(CtesProj::GetProjection(""), nullptr);
    EXPECT_EQ(CtesProj::g_pProjDefDravlin, l93);
    EXPECT_EQ(l93->epsg, 2154);
    EXPECT_EQ(l93->type(), 'L');
}

TEST_F(ProjectionFile, ShortNamesWithAndWithoutColon) {
    shipAll();
    CtesProj* const zone = CtesProj::GetProjection("LZ93-CC46");
    ASSERT_NE(zone, nullptr);
    EXPECT_STREQ(zone->GetShortName(1), "LZ93-CC46");
    EXPECT_STREQ(zone->GetShortName(0), "LZ93-CC46:");
    EXPECT_STREQ(CtesProj::GetProjection("L-93")->GetShortName(0), "L-93 :");
    write("Projections.DEF", definitions("GNOCOLON = GRS80, 0, 1\n"));
    CtesProj::InitProjections(1);
    EXPECT_STREQ(CtesProj::GetProjection("GNOCOLON")->GetShortName(1), "GNOCOLON");
}

TEST_F(ProjectionFile, CoordinatesGuessTheProjectionAndRememberTheLastAnswer) {
    shipAll();
    EXPECT_EQ(CtesProj::GetProjection(1700000, 5200000), CtesProj::GetProjection("LZ93-CC46"));
    EXPECT_EQ(CtesProj::GetProjection(1700000, 5700000), nullptr); // hundred-thousands digit 7
    EXPECT_EQ(CtesProj::GetProjection(650000, 6860000), CtesProj::GetProjection("L-93"));
    EXPECT_EQ(CtesProj::GetProjection(600000, 2430000), CtesProj::GetProjection("L-IIE"));
    EXPECT_EQ(CtesProj::GetProjection(600000, 4000000), nullptr);
    EXPECT_EQ(CtesProj::GetProjection(-5, 6860000), nullptr);
    EXPECT_EQ(CtesProj::GetProjection(2200000, 5200000), nullptr);
    EXPECT_EQ(CtesProj::GetProjection("_AUTO", CPoint3d(1700000.7, 5200000, 0)),
              CtesProj::GetProjection("LZ93-CC46"));
    EXPECT_EQ(CtesProj::GetProjection(nullptr, CPoint3d(NAN, 5200000, 0)), nullptr);
    EXPECT_EQ(CtesProj::GetProjection("UTM31N", CPoint3d(650000, 6860000, 0)),
              CtesProj::GetProjection("UTM31N"));
}

TEST_F(ProjectionFile, EpsgCodesAndTheWebMercatorAlias) {
    shipAll();
    CtesProj* const web = CtesProj::GetProjFromEpsg(3857);
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->type(), 'M');
    EXPECT_EQ(CtesProj::GetProjFromEpsg(900913), web);
    EXPECT_EQ(CtesProj::GetProjFromEpsg(27572), CtesProj::GetProjection("L-IIE"));
    EXPECT_EQ(CtesProj::GetProjFromEpsg(0), nullptr);
    EXPECT_EQ(CtesProj::GetProjFromEpsg(-2154), nullptr);
    EXPECT_EQ(CtesProj::GetProjFromEpsg(9999), nullptr);
}

TEST_F(ProjectionFile, AnglesAreGradsBeforeAnyVersionAndDegreesAfterVersionOne) {
    write("Projections.DEF", definitions("GGRADS = GRS80, 100, 1\n"
                                         "VERSION = 1\n"
                                         "GDEGREES = GRS80, 90, 1\n"
                                         "VERSION = 0\n"
                                         "GAGAIN = GRS80, 100, 1\n",
                                         ""));
    ASSERT_NE(CtesProj::InitProjections(1), nullptr);
    EXPECT_DOUBLE_EQ(CtesProj::GetProjection("GGRADS")->p0, kPi / 2);
    EXPECT_DOUBLE_EQ(CtesProj::GetProjection("GDEGREES")->p0, kPi / 2);
    EXPECT_DOUBLE_EQ(CtesProj::GetProjection("GAGAIN")->p0, kPi / 2);
}

TEST_F(ProjectionFile, MeridianAppliesToTheLinesAfterItInDegrees) {
    shipAll();
    EXPECT_DOUBLE_EQ(CtesProj::GetProjection("L-IIE")->meridian, 2.33722917 * kPi / 180);
    EXPECT_EQ(CtesProj::GetProjection("L-93")->meridian, 0);
}

TEST_F(ProjectionFile, TransverseMercatorScaleDefaultsAndKeepsItsSign) {
    write("Projections.DEF", definitions("UZERO = GRS80, 3, 0\n"
                                         "USOUTH = GRS80, 3, -0.9996\n"));
    CtesProj::InitProjections(1);
    EXPECT_EQ(CtesProj::GetProjection("UZERO")->p1, 0.9996);
    EXPECT_EQ(CtesProj::GetProjection("USOUTH")->p1, -0.9996);
}

TEST_F(ProjectionFile, MalformedLinesAreSkippedAndTheOthersKeptInFileOrder) {
    write("Projections.DEF", "[ELLIPSOIDES]\n"
                             "NOECC = 6378137, 0, 0, 0, 0\n"
                             "BADECC = 6378137, 1.5, 0, 0, 0\n"
                             "NONUMBER = abc\n"
                             "INFINITE = inf, 0.08, 0, 0, 0\n"
                             "GOOD = 6378137, 0.08, 1, 2, 3\n"
                             "LONGGRID = 6378137, 0.08, 0, 0, 0, " +
                                 std::string(150, 'G') +
                                 "\n"
                                 "abc\n"
                                 "no equals sign here\n"
                                 "[PROJECTIONS]\n"
                                 "VERSION = 1\n"
                                 "LFIRST = GOOD, 3, 0.7, 1e7, 7e5, 1.2e7\n"
                                 "LNOP4 = GOOD, 3, 0.7, 1e7, 7e5\n"
                                 "GNOP0 = GOOD\n"
                                 "GUNKNOWN = NOSUCH, 3, 1\n"
                                 "GNAN = GOOD, nan, 1\n"
                                 "ENU = GOOD, 1, 2, 3\n"
                                 "gsecond = good, 0, 1\n"
                                 "[OTHER]\n"
                                 "GOTHER = GOOD, 0, 1\n"
                                 "[EPSG]\n"
                                 "LFIRST = 1234\n"
                                 "NOSUCH = 99\n"
                                 "GSECOND = notanumber\n");
    ASSERT_NE(CtesProj::InitProjections(1), nullptr);
    EXPECT_EQ(Ellipsoide::Find("NOECC"), nullptr);
    EXPECT_EQ(Ellipsoide::Find("BADECC"), nullptr);
    EXPECT_EQ(Ellipsoide::Find("NONUMBER"), nullptr);
    EXPECT_EQ(Ellipsoide::Find("INFINITE"), nullptr);
    EXPECT_EQ(Ellipsoide::Find("LONGGRID"), nullptr);
    Ellipsoide* const good = Ellipsoide::Find("good");
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(good->tz, 3);
    EXPECT_STREQ(good->gridFile, "");
    std::vector<std::string> names;
    for (CtesProj* p = CtesProj::g_pFirstCtesProj; p; p = p->next)
        names.emplace_back(p->name);
    EXPECT_EQ(names, (std::vector<std::string>{"LFIRST", "ENU", "Gsecond"}));
    EXPECT_EQ(CtesProj::GetProjection("LFIRST")->epsg, 1234);
    EXPECT_EQ(CtesProj::GetProjection("Gsecond")->epsg, 0);
    const CtesProj* enu = CtesProj::GetProjection("ENU");
    EXPECT_EQ(enu->eParameters, CPoint3d(1, 2, 3));
    EXPECT_EQ(CtesProj::g_pProjDefDravlin, nullptr);
}

TEST_F(ProjectionFile, RecordsWhoseNumbersDoNotReadAreRefusedByName) {
    write("Projections.DEF", definitions("MERIDIEN = 2.5\n"
                                         "LBEFORE = GRS80, 3, 0.7, 1e7, 7e5, 1.2e7\n"
                                         "MERIDIEN = nan\n"
                                         "LNAN = GRS80, 3, 0.7, 1e7, 7e5, 1.2e7\n"
                                         "MERIDIEN = Paris\n"
                                         "LWORD = GRS80, 3, 0.7, 1e7, 7e5, 1.2e7\n"
                                         "MERIDIEN = 2,33722917\n"
                                         "LCOMMAM = GRS80, 3, 0.7, 1e7, 7e5, 1.2e7\n"
                                         "MERIDIEN = 1\n"
                                         "LCOMMA = GRS80, 3,0, 0,7, 1e7, 7e5, 1.2e7\n"
                                         "LZERO = GRS80, 3, 0, 1e7, 7e5, 1.2e7\n"
                                         "LLETTER = GRS80, 3, 0.7x, 1e7, 7e5, 1.2e7\n"
                                         "EWORD = GRS80, 1, two, 3\n"
                                         "LAFTER = GRS80, 3, 0.7, 1e7, 7e5, 1.2e7\n"));
    ASSERT_NE(CtesProj::InitProjections(1), nullptr);
    std::vector<std::string> names;
    for (CtesProj* p = CtesProj::g_pFirstCtesProj; p; p = p->next)
        names.emplace_back(p->name);
    EXPECT_EQ(names, (std::vector<std::string>{"LBEFORE", "LAFTER"})) << "never the meridian of 2.5 degrees";
    EXPECT_DOUBLE_EQ(CtesProj::GetProjection("LAFTER")->meridian, kPi / 180);
    for (const char* refusal : {"'LNAN' ignor\xe9"
                                "e : MERIDIEN illisible",
                                "'LWORD' ignor\xe9"
                                "e : MERIDIEN illisible",
                                "'LCOMMAM' ignor\xe9"
                                "e : MERIDIEN illisible",
                                "'LCOMMA' ignor\xe9"
                                "e : nombres illisibles : 3,0,0,7,1e7,7e5,1.2e7",
                                "'LZERO' ignor\xe9"
                                "e : constante du c\xf4ne nulle",
                                "'LLETTER' ignor\xe9"
                                "e : nombres illisibles",
                                "'EWORD' ignor\xe9"
                                "e : nombres illisibles"})
        EXPECT_NE(printed().find(std::string("\nProjection ") + refusal), std::string::npos) << refusal;
}

TEST_F(ProjectionFile, RecordsThatCannotServeAreRefusedWithFileKeyAndReason) {
    write("Projections.DEF", "[ELLIPSOIDES]\n"
                             "GRS80 = 6378137, 0.0818191910428158, 0, 0, 0\n"
                             "EEMPTY =\n"
                             "ESHORT = 6378137, 0.08\n"
                             "ENOECC = 6378137, 0, 0, 0, 0\n"
                             "[PROJECTIONS]\n"
                             "VERSION = 1\n"
                             "LEMPTY =\n"
                             "LUNKNOWN = NOSUCH, 3, 0.7, 1e7, 7e5, 1.2e7\n"
                             "LSHORT = GRS80, 3, 0.7, 1e7\n"
                             "LNOYS = GRS80, 3, 0.7256, 11754255, 7e5, 0\n"
                             "LHUGEC = GRS80, 3, 0.7256, 1e300, 7e5, 1.2e7\n"
                             "LSHEET = GRS80, 3, 1.5, 11754255, 7e5, 1.2e7\n"
                             "UHUGEK = GRS80, 3, 1e300\n"
                             "GZERO = GRS80, 0, 0\n"
                             "GSHORT = GRS80, 0\n"
                             "L-93 : kept = GRS80, 3, 0.7256077650532692, 11754255.426096005, 700000, "
                             "12655612.049875986\n");
    ASSERT_NE(CtesProj::InitProjections(1), nullptr);
    EXPECT_STREQ(CtesProj::g_pFirstCtesProj->name, "L-93 : kept");
    EXPECT_EQ(CtesProj::g_pFirstCtesProj->next, nullptr);
    EXPECT_EQ(Ellipsoide::g_pFirst->next, nullptr);
    const std::string file = " (" + root.path() + "/local\\INI\\Projections.DEF)";
    const char* refusals[] = {
        "Ellipso\xef"
        "de 'EEMPTY' ignor\xe9 : 0 nombres lus sur 5 : ",
        "Ellipso\xef"
        "de 'ESHORT' ignor\xe9 : 2 nombres lus sur 5 : 6378137,0.08",
        "Ellipso\xef"
        "de 'ENOECC' ignor\xe9 : a, e ou translation hors limites",
        "Projection 'LEMPTY' ignor\xe9"
        "e : valeur vide",
        "Projection 'LUNKNOWN' ignor\xe9"
        "e : ellipso\xef"
        "de inconnu : NOSUCH",
        "Projection 'LSHORT' ignor\xe9"
        "e : 3 nombres lus sur 5",
        "Projection 'LNOYS' ignor\xe9"
        "e : Ys nul",
        "Projection 'LHUGEC' ignor\xe9"
        "e : constante C hors limites",
        "Projection 'LSHEET' ignor\xe9"
        "e : constante du c\xf4ne hors de ]-1, 1[",
        "Projection 'UHUGEK' ignor\xe9"
        "e : facteur d'\xe9"
        "chelle k0 hors limites",
        "Projection 'GZERO' ignor\xe9"
        "e : facteur nul",
        "Projection 'GSHORT' ignor\xe9"
        "e : 1 nombres lus sur 2",
    };
    for (const char* refusal : refusals)
        EXPECT_NE(printed().find(std::string("\n") + refusal), std::string::npos) << refusal << printed();
    EXPECT_NE(printed().find("ENOECC' ignor\xe9 : a, e ou translation hors limites : 6378137,0,0,0,0" + file),
              std::string::npos)
        << printed();
}

TEST_F(ProjectionFile, AMissingFileIsReportedEveryTimeAndBoxedOncePerProcess) {
    EXPECT_EQ(CtesProj::InitProjections(1), nullptr);
    EXPECT_EQ(CtesProj::GetProjection("L-93"), nullptr);
    EXPECT_EQ(CtesProj::GetProjFromEpsg(2154), nullptr);
    const std::string message = "Fichier :'" + root.path() + "/local\\INI\\Projections.DEF' Non Trouv\xe9";
    EXPECT_NE(printed().find(message), std::string::npos);
    EXPECT_NE(printed().rfind(message), printed().find(message)); // printed at every attempt
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, message);
    EXPECT_EQ(boxes[0].caption, message);
}

TEST_F(ProjectionFile, AReloadForgetsTheDefaultAndTheRememberedGuessEvenWhenItFails) {
    shipAll();
    ASSERT_NE(CtesProj::GetProjection(650000, 6860000), nullptr);
    EXPECT_NE(CtesProj::g_pProjDefDravlin, nullptr);
    EXPECT_EQ(CtesProj::InitProjections(0), CtesProj::g_pFirstCtesProj); // kept as it is
    std::filesystem::remove(iniFile("Projections.DEF"));
    EXPECT_EQ(CtesProj::InitProjections(1), nullptr);
    EXPECT_EQ(CtesProj::g_pProjDefDravlin, nullptr);
    EXPECT_EQ(Ellipsoide::g_pFirst, nullptr);
    // The same guess again finds nothing rather than a freed record.
    EXPECT_EQ(CtesProj::GetProjection(650000, 6860000), nullptr);
    ship("Projections.DEF");
    CtesProj* const again = CtesProj::GetProjection(650000, 6860000);
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again->name, "L-93 : Lambert 93");
}

TEST(EllipsoideRecords, CopiesOwnTheirGridAndAreNotLinked) {
    Ellipsoide* const first = new Ellipsoide();
    Ellipsoide* const second = new Ellipsoide();
    std::strcpy(first->name, "First");
    first->columns = 3;
    first->rows = 3;
    first->grid = new std::int16_t[27]();
    first->grid[26] = 42;
    {
        Ellipsoide copy(*first);
        EXPECT_EQ(copy.next, nullptr);
        EXPECT_NE(copy.grid, first->grid);
        EXPECT_EQ(copy.grid[26], 42);
        Ellipsoide assigned(1, 0.1, 0, 0, 0);
        assigned = copy;
        EXPECT_EQ(assigned.grid[26], 42);
    }
    EXPECT_EQ(Ellipsoide::g_pFirst, second);
    EXPECT_EQ(Ellipsoide::Find("first"), first);
    delete first; // not the head: unlinked all the same
    EXPECT_EQ(Ellipsoide::g_pFirst, second);
    EXPECT_EQ(second->next, nullptr);
    Ellipsoide::RemoveAll();
    EXPECT_EQ(Ellipsoide::g_pFirst, nullptr);
}

TEST(EllipsoideRecords, RadiusOfCurvatureInThePrimeVertical) {
    EXPECT_DOUBLE_EQ(Ellipsoide::getRayonN(6378137, 0.1, 0), 6378137);
    EXPECT_DOUBLE_EQ(Ellipsoide::getRayonN(6378137, 0.1, 1), 6378137 / std::sqrt(0.99));
}

} // namespace
