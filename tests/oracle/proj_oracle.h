#pragma once
// PROJ as an oracle: an operation made from a PROJ string, applied to points whose angles are radians.
#include "geometry/points/point3d.h"

#include <proj.h>

#include <string>

namespace testing_support {

class ProjOracle {
public:
    explicit ProjOracle(const std::string& definition);
    ProjOracle(const ProjOracle&) = delete;
    ProjOracle& operator=(const ProjOracle&) = delete;
    ~ProjOracle();

    CPoint3d forward(const CPoint3d& p) const { return apply(p, PJ_FWD); }
    CPoint3d inverse(const CPoint3d& p) const { return apply(p, PJ_INV); }
    // Scale and convergence at a geographic point (radians).
    PJ_FACTORS factors(const CPoint3d& geo) const;

    // The projection part of an EPSG definition: its PROJ string without datum shifts or grids.
    static std::string projectionOf(int epsg);

private:
    CPoint3d apply(const CPoint3d& p, PJ_DIRECTION direction) const;
    PJ_CONTEXT* context_;
    PJ* operation_;
};

} // namespace testing_support
