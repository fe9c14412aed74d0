#include "proj_oracle.h"

#include <sstream>
#include <stdexcept>

namespace testing_support {

ProjOracle::ProjOracle(const std::string& definition)
    : context_(proj_context_create()), operation_(proj_create(context_, definition.c_str())) {
    if (!operation_) {
        proj_context_destroy(context_);
        throw std::runtime_error("PROJ refuses " + definition);
    }
}

ProjOracle::~ProjOracle() {
    proj_destroy(operation_);
    proj_context_destroy(context_);
}

CPoint3d ProjOracle::apply(const CPoint3d& p, PJ_DIRECTION direction) const {
    const PJ_COORD out = proj_trans(operation_, direction, proj_coord(p.x, p.y, p.z, 0));
    return {out.v[0], out.v[1], out.v[2]};
}

PJ_FACTORS ProjOracle::factors(const CPoint3d& geo) const {
    return proj_factors(operation_, proj_coord(geo.x, geo.y, 0, 0));
}

std::string ProjOracle::projectionOf(int epsg) {
    PJ_CONTEXT* context = proj_context_create();
    PJ* crs = proj_create(context, ("EPSG:" + std::to_string(epsg)).c_str());
    const char* text = crs ? proj_as_proj_string(context, crs, PJ_PROJ_4, nullptr) : nullptr;
    std::string kept;
    if (text) {
        std::istringstream words(text);
        std::string word;
        while (words >> word)
            if (word.rfind("+towgs84", 0) != 0 && word.rfind("+nadgrids", 0) != 0 && word != "+type=crs" &&
                word != "+wktext")
                kept += word + " ";
    }
    proj_destroy(crs);
    proj_context_destroy(context);
    if (kept.empty()) throw std::runtime_error("PROJ does not know EPSG:" + std::to_string(epsg));
    return kept;
}

} // namespace testing_support
