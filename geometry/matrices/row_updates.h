#pragma once
// The inner loop of the exchange steps: rows less multiples of pivot rows, two elements at a time, each
// element taking the pivot rows in their order, so that the result is the same however the work is cut.
// Several pivot rows, and two target rows, in one pass keep the loads per operation down.
#include <cstdint>
#include <cstring>

namespace geometry::matrices {

// For each target row q: targets[q][j] -= factors[q * kPivots] * pivots[0][j], then
// factors[q * kPivots + 1] * pivots[1][j], ..., for j in [0, count).
template <int kPivots, int kTargets = 1>
void subtractRows(double* const* targets, const double* const* pivots, const double* factors,
                  std::int32_t count) {
    using Pair = double __attribute__((vector_size(16)));
    Pair f[kTargets][kPivots];
    for (int q = 0; q < kTargets; ++q)
        for (int t = 0; t < kPivots; ++t)
            f[q][t] = Pair{factors[q * kPivots + t], factors[q * kPivots + t]};
    std::int32_t j = 0;
    for (; j + 2 <= count; j += 2) {
        Pair x[kTargets];
        for (int q = 0; q < kTargets; ++q)
            std::memcpy(&x[q], targets[q] + j, sizeof(Pair));
        for (int t = 0; t < kPivots; ++t) {
            Pair p;
            std::memcpy(&p, pivots[t] + j, sizeof p);
            for (int q = 0; q < kTargets; ++q)
                x[q] -= f[q][t] * p;
        }
        for (int q = 0; q < kTargets; ++q)
            std::memcpy(targets[q] + j, &x[q], sizeof(Pair));
    }
    for (; j < count; ++j)
        for (int q = 0; q < kTargets; ++q) {
            double x = targets[q][j];
            for (int t = 0; t < kPivots; ++t)
                x -= factors[q * kPivots + t] * pivots[t][j];
            targets[q][j] = x;
        }
}

} // namespace geometry::matrices
