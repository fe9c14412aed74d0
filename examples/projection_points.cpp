#include "projection_points.h"

#include "geometry/projections/ctes_proj.h"
#include "services/output/output.h"

namespace {

// Points of the L-93 plane (metres) with their altitudes.
const CPoint3d kSamples[] = {
    {652469.02, 6862035.26, 35.0},  // Paris
    {842666.66, 6519924.37, 162.0}, // Lyon
    {574357.82, 6279642.97, 140.0}, // Toulouse
    {351867.55, 6789294.88, 48.0},  // Rennes
};

void printPoint(const char* label, const CPoint3d& p) {
    mprintf("$L$    %-8s x=%.3f y=%.3f h=%.3f\n", label, p.x, p.y, p.z);
}

} // namespace

int convertSamplePoints() {
    if (!CtesProj::InitProjections(1)) return 1;
    CtesProj* const l93 = CtesProj::GetProjFromEpsg(2154);
    CtesProj* const utm = CtesProj::GetProjFromEpsg(32631);
    CtesProj* const l2e = CtesProj::GetProjFromEpsg(27572);
    AltiConvert* const geoid = AltiConvert::FindAltiConvert("EGM96_FRANCE.MNT", 1);
    if (!l93 || !utm || !l2e) return 1;
    mprintf("$L$  Projections : L-93 -> UTM 31 (hauteurs ellipso\xef"
            "dales, grille EGM96) -> L-IIE (altitudes)\n");
    for (const CPoint3d& start : kSamples) {
        CPoint3d onUtm;
        CPoint3d onL2e;
        // Altitudes become ellipsoidal heights on the way to UTM and altitudes again on the way to L-IIE.
        if (l93->TransformTo(utm, start, onUtm, geoid, nullptr, nullptr) != 3 ||
            utm->TransformTo(l2e, onUtm, onL2e, AltiConvert::NoStep(), geoid, nullptr) != 3) {
            mprintf("$L$    conversion impossible\n");
            continue;
        }
        printPoint("L-93", start);
        printPoint("UTM 31", onUtm);
        printPoint("L-IIE", onL2e);
    }
    AltiConvert::RemoveAltiConvert(nullptr);
    CtesProj::RemoveAll();
    return 0;
}
