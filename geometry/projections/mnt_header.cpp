#include "geometry/projections/mnt_header.h"

#include "geometry/projections/number_scanner.h"

namespace geometry::projections {

bool MntHeader::read(std::string_view line) {
    NumberScanner scan(line);
    double numbers[6];
    if (scan.reals(numbers, 6, ' ') != 6) return false;
    lonMin = numbers[0];
    lonMax = numbers[1];
    latMin = numbers[2];
    latMax = numbers[3];
    lonStep = numbers[4];
    latStep = numbers[5];
    for (int& value : k)
        if (!scan.integer(value)) return false;
    return true;
}

namespace {

bool stepConforms(double step) {
    return step >= 0.01 && step <= 2;
}

} // namespace

bool MntHeader::conforms() const {
    return stepConforms(lonStep) && stepConforms(latStep) && std::isfinite(lonMin) && std::isfinite(lonMax) &&
           std::isfinite(latMin) && std::isfinite(latMax);
}

} // namespace geometry::projections
