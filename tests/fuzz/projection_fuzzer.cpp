// The projection definition file and the grids as the data folder gives them. The first byte chooses the
// file, the rest is its content: whatever it holds, the lists stay walkable and every answer is one of the
// documented ones, its numbers finite.
#include "geometry/projections/ctes_proj.h"
#include "tests/fuzz/local_folder.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kDegree = std::numbers::pi / 180;

bool finite(const CPoint3d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

void walkLists() {
    int count = 0;
    for (CtesProj* p = CtesProj::g_pFirstCtesProj; p; p = p->next, ++count) {
        fuzz::check(strnlen(p->name, sizeof p->name) < sizeof p->name, "a projection name without its end");
        fuzz::check(p->ellipsoid && p->ellipsoid->e > 0 && p->ellipsoid->e < 1,
                    "a projection without a sound ellipsoid");
    }
    for (Ellipsoide* e = Ellipsoide::g_pFirst; e; e = e->next, ++count)
        fuzz::check(strnlen(e->gridFile, sizeof e->gridFile) < sizeof e->gridFile,
                    "a grid name without its end");
    fuzz::check(count < 100000, "the lists do not end");
}

void definitionFile(const fuzz::LocalFolder& local, const std::string& text) {
    local.write("Projections.DEF", text);
    CtesProj::InitProjections(1);
    walkLists();
    if (CtesProj* guessed = CtesProj::GetProjection(650000, 6860000)) {
        CPoint3d xy;
        CPoint3d geo;
        const int forward = guessed->GeoToXy(CPoint3d(2 * kDegree, 47 * kDegree, 0), xy);
        fuzz::check(forward == 0 || forward == 1, "a projection answers neither success nor failure");
        const int inverse = guessed->XyToGeo(xy, geo);
        fuzz::check(inverse == 0 || inverse == 1, "an inverse answers neither success nor failure");
    }
    CtesProj::GetProjFromEpsg(900913);
    CtesProj::GetProjection("*");
    CtesProj::RemoveAll();
}

void translationGrid(const fuzz::LocalFolder& local, const char* name, const std::string& text) {
    local.write(name, text);
    const CPoint3d fallback(-168, -60, 320);
    auto* ellipsoid = new Ellipsoide(6378249.2, 0.0824832567634, fallback.x, fallback.y, fallback.z);
    std::strcpy(ellipsoid->gridFile, name);
    CPoint3d t;
    const int found = ellipsoid->GetTranslat(CPoint3d(-5 * kDegree, 41.2 * kDegree, 0), t);
    fuzz::check(found >= 0 && found <= 3, "a translation look-up answers an undocumented value");
    fuzz::check(found == 3 || t == fallback, "a translation not found is not the ellipsoid's own");
    fuzz::check(finite(t), "a translation that is no number");
    delete ellipsoid;
}

void heightGrid(const fuzz::LocalFolder& local, const std::string& text) {
    local.write("H.MNT", text);
    AltiConvert* grid = AltiConvert::FindAltiConvert("H.MNT", 1);
    fuzz::check(grid != nullptr, "no height conversion made");
    fuzz::check(!std::isnan(grid->Convert(100, CPoint3d(-5 * kDegree, 41.1 * kDegree, 0), 1)),
                "a height that is no number");
    fuzz::check(AltiConvert::RemoveAltiConvert(grid) == 1, "a height conversion not removed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::LocalFolder local;
    if (size == 0) return 0;
    const std::string text = fuzz::bytes(data + 1, size - 1);
    switch (data[0] % 4) {
    case 0:
        definitionFile(local, text);
        break;
    case 1:
        translationGrid(local, "G.TXT", text);
        break;
    case 2:
        translationGrid(local, "T.MNT", text);
        break;
    default:
        heightGrid(local, text);
        break;
    }
    return 0;
}
