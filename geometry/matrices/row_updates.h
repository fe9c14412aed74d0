#pragma once
// The inner loop of the exchange steps: a row less multiples of pivot rows, two elements at a time, each
// element taking the pivot rows in their order, so that the result is the same however the work is cut.
#include <cstdint>
#include <cstring>

namespace geometry::matrices {

// target[j] -= factors[0] * pivots[0][j], then factors[1] * pivots[1][j], ..., for j in [0, count).
template <int kRows>
void subtractRows(double* target, const double* const* pivots, const double* factors, std::int32_t count) {
    using Pair = double __attribute__((vector_size(16)));
    Pair f[kRows];
    for (int t = 0; t < kRows; ++t)
        f[t] = Pair{factors[t], factors[t]};
    std::int32_t j = 0;
    for (; j + 2 <= count; j += 2) {
        Pair x;
        std::memcpy(&x, target + j, sizeof x);
        for (int t = 0; t < kRows; ++t) {
            Pair p;
            std::memcpy(&p, pivots[t] + j, sizeof p);
            x -= f[t] * p;
        }
        std::memcpy(target + j, &x, sizeof x);
    }
    for (; j < count; ++j) {
        double x = target[j];
        for (int t = 0; t < kRows; ++t)
            x -= factors[t] * pivots[t][j];
        target[j] = x;
    }
}

} // namespace geometry::matrices
