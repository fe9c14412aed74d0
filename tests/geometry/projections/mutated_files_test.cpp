// The definition file and grid readers fed mutated copies of the shipped files: every answer is one of the
// documented values, the lists stay walkable and nothing is read or written out of bounds.
#include "geometry/projections/ctes_proj.h"

#include "projection_folder.h"

#include <numbers>
#include <random>
#include <sstream>
#include <string>

namespace {

constexpr int kMutations = 10000;
constexpr double kDegree = std::numbers::pi / 180;

// The first lines of a text, enough to keep every kind of line and a small grid.
std::string firstLines(const std::string& text, int count) {
    std::istringstream in(text);
    std::string line;
    std::string out;
    for (int k = 0; k < count && std::getline(in, line); ++k)
        out += line + "\n";
    return out;
}

class Mutator {
public:
    std::string operator()(std::string text) {
        const int edits = 1 + static_cast<int>(random_() % 4);
        for (int k = 0; k < edits && !text.empty(); ++k) {
            const std::size_t at = random_() % text.size();
            switch (random_() % 6) {
            case 0:
                text[at] = static_cast<char>(random_() % 256);
                break;
            case 1:
                text.insert(at, 1, pick(",=[:' \n-.e9"));
                break;
            case 2:
                text.erase(at, 1 + random_() % 8);
                break;
            case 3:
                text.resize(at);
                break;
            case 4:
                text.insert(at, std::string(1 + random_() % 300, pick("9X ")));
                break;
            default:
                text.insert(at, pick({"nan", "inf", "1e308", "-0", "GR3D1 ", "VERSION=1\n", "[EPSG\n"}));
                break;
            }
        }
        return text;
    }

private:
    char pick(const char* characters) { return characters[random_() % std::strlen(characters)]; }
    std::string pick(std::initializer_list<const char*> words) {
        return *(words.begin() + random_() % words.size());
    }
    std::mt19937_64 random_{27};
};

using MutatedFiles = ProjectionFolder;

void expectWalkableLists() {
    int count = 0;
    for (CtesProj* p = CtesProj::g_pFirstCtesProj; p; p = p->next, ++count) {
        ASSERT_LT(strnlen(p->name, sizeof p->name), sizeof p->name);
        ASSERT_NE(p->ellipsoid, nullptr);
        ASSERT_TRUE(p->ellipsoid->e > 0 && p->ellipsoid->e < 1);
    }
    for (Ellipsoide* e = Ellipsoide::g_pFirst; e; e = e->next, ++count)
        ASSERT_LT(strnlen(e->gridFile, sizeof e->gridFile), sizeof e->gridFile);
    ASSERT_LT(count, 100000);
}

TEST_F(MutatedFiles, DefinitionFile) {
    ship("Projections.DEF");
    const std::string original = testing_support::readFile(iniFile("Projections.DEF"));
    Mutator mutate;
    for (int k = 0; k < kMutations; ++k) {
        write("Projections.DEF", mutate(original));
        CtesProj::InitProjections(1);
        expectWalkableLists();
        CtesProj* const guessed = CtesProj::GetProjection(650000, 6860000);
        if (guessed) {
            CPoint3d xy;
            CPoint3d geo;
            const int forward = guessed->GeoToXy(CPoint3d(2 * kDegree, 47 * kDegree, 0), xy);
            ASSERT_TRUE(forward == 0 || forward == 1);
            const int inverse = guessed->XyToGeo(xy, geo);
            ASSERT_TRUE(inverse == 0 || inverse == 1);
        }
        CtesProj::GetProjFromEpsg(900913);
        CtesProj::GetProjection("*");
    }
}

TEST_F(MutatedFiles, TranslationGrids) {
    ship("GR3D_ZORTA.TXT");
    ship("TRANSLAT_ZORTA.MNT");
    const std::string originals[] = {
        firstLines(testing_support::readFile(iniFile("GR3D_ZORTA.TXT")), 40),
        firstLines(testing_support::readFile(iniFile("TRANSLAT_ZORTA.MNT")), 40)};
    const char* names[] = {"G.TXT", "T.MNT"};
    Mutator mutate;
    for (int k = 0; k < kMutations; ++k) {
        write(names[k % 2], mutate(originals[k % 2]));
        Ellipsoide* e = new Ellipsoide(6378249.2, 0.0824832567634, -168, -60, 320);
        std::strcpy(e->gridFile, names[k % 2]);
        CPoint3d t;
        const int found = e->GetTranslat(CPoint3d(-5 * kDegree, 41.2 * kDegree, 0), t);
        ASSERT_TRUE(found >= 0 && found <= 3);
        if (found != 3) {
            ASSERT_EQ(t, CPoint3d(-168, -60, 320));
        }
        ASSERT_TRUE(std::isfinite(t.x) && std::isfinite(t.y) && std::isfinite(t.z));
        delete e;
    }
}

TEST_F(MutatedFiles, HeightGrids) {
    ship("EGM96_FRANCE.MNT");
    ship("EGM96_FRANCE_L.MNT");
    const std::string originals[] = {
        firstLines(testing_support::readFile(iniFile("EGM96_FRANCE.MNT")), 4),
        firstLines(testing_support::readFile(iniFile("EGM96_FRANCE_L.MNT")), 200)};
    Mutator mutate;
    for (int k = 0; k < kMutations; ++k) {
        write("H.MNT", mutate(originals[k % 2]));
        AltiConvert* grid = AltiConvert::FindAltiConvert("H.MNT", 1);
        const double h = grid->Convert(100, CPoint3d(-5 * kDegree, 41.1 * kDegree, 0), 1);
        ASSERT_FALSE(std::isnan(h));
        ASSERT_EQ(AltiConvert::RemoveAltiConvert(grid), 1);
    }
}

} // namespace
