#include "geometry/matrices/inversion_rules.h"

#include "geometry/matrices/matrice.h"
#include "services/output/progress_meter.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace geometry::matrices {

int progressAt(CProgressMeter* pm, std::uint32_t step) {
    if (!pm) return 0;
    try {
        if (pm->Progressfunc(static_cast<int>(step)) < 0) return kCancelledAt + static_cast<int>(step);
    } catch (...) {
        return kCallbackThrew;
    }
    return 0;
}

void* heapBlock(std::size_t count, std::size_t size) {
    void* block = std::malloc(std::max<std::size_t>(count, 1) * size);
    if (!block) g_CalculState = -100;
    return block;
}

PivotTables::PivotTables(std::uint32_t n)
    : colOfRow(heapArray<std::uint32_t>(n)), rowOfCol(heapArray<std::uint32_t>(n)),
      scratch(heapArray<double>(n)) {
    if (!allocated()) return;
    std::fill(colOfRow.get(), colOfRow.get() + n, kNone);
    std::fill(rowOfCol.get(), rowOfCol.get() + n, kNone);
}

void PivotThreshold::diagonal(double a) {
    if (std::isnan(a)) nan_ = true;
    const double size = std::fabs(a);
    if (size != 0 && (smallestDiagonal_ == 0 || size < smallestDiagonal_)) smallestDiagonal_ = size;
    element(a);
}

void PivotThreshold::element(double a) {
    const double size = std::fabs(a);
    if (size > largestElement_) largestElement_ = size;
}

double PivotThreshold::value() const {
    if (nan_) return std::numeric_limits<double>::quiet_NaN();
    const double scale = smallestDiagonal_ != 0 ? smallestDiagonal_
                         : largestElement_ != 0 ? largestElement_
                                                : 1e50;
    return scale * 1e-13;
}

} // namespace geometry::matrices
