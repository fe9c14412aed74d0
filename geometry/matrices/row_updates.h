#pragma once
// The inner loop of the exchange steps: rows less multiples of pivot rows, a few elements at a time, each
// element taking the pivot rows in their order, so that the result is the same however the work is cut.
// Several pivot rows, and two target rows, in one pass keep the loads per operation down. Where the processor
// has 256-bit registers the loop runs four elements at a time: the same multiplications and subtractions on
// each element (never fused), so the same results.
#include <cstdint>
#include <cstring>

namespace geometry::matrices {

namespace row_updates {

// Spelt out for each width: the compiler drops a vector size that depends on a template parameter.
template <int kLanes> struct LaneVector;
template <> struct LaneVector<2> { using type = double __attribute__((vector_size(16))); };
template <> struct LaneVector<4> { using type = double __attribute__((vector_size(32))); };

template <int kLanes, int kPivots, int kTargets>
[[gnu::always_inline]] inline void subtract(double* const* targets, const double* const* pivots,
                                            const double* factors, std::int32_t count) {
    using Lanes = typename LaneVector<kLanes>::type;
    static_assert(sizeof(Lanes) == sizeof(double) * kLanes);
    Lanes f[kTargets][kPivots];
    for (int q = 0; q < kTargets; ++q)
        for (int t = 0; t < kPivots; ++t) {
            double lanes[kLanes];
            for (double& lane : lanes)
                lane = factors[q * kPivots + t];
            std::memcpy(&f[q][t], lanes, sizeof(Lanes));
        }
    std::int32_t j = 0;
    for (; j + kLanes <= count; j += kLanes) {
        Lanes x[kTargets];
        for (int q = 0; q < kTargets; ++q)
            std::memcpy(&x[q], targets[q] + j, sizeof(Lanes));
        for (int t = 0; t < kPivots; ++t) {
            Lanes p;
            std::memcpy(&p, pivots[t] + j, sizeof p);
            for (int q = 0; q < kTargets; ++q)
                x[q] -= f[q][t] * p;
        }
        for (int q = 0; q < kTargets; ++q)
            std::memcpy(targets[q] + j, &x[q], sizeof(Lanes));
    }
    for (; j < count; ++j)
        for (int q = 0; q < kTargets; ++q) {
            double x = targets[q][j];
            for (int t = 0; t < kPivots; ++t)
                x -= factors[q * kPivots + t] * pivots[t][j];
            targets[q][j] = x;
        }
}

template <int kPivots, int kTargets>
[[gnu::target("avx")]] void subtractWide(double* const* targets, const double* const* pivots,
                                         const double* factors, std::int32_t count) {
    subtract<4, kPivots, kTargets>(targets, pivots, factors, count);
}

inline bool wideRegisters() {
    static const bool available = __builtin_cpu_supports("avx");
    return available;
}

} // namespace row_updates

// For each target row q: targets[q][j] -= factors[q * kPivots] * pivots[0][j], then
// factors[q * kPivots + 1] * pivots[1][j], ..., for j in [0, count).
template <int kPivots, int kTargets = 1>
void subtractRows(double* const* targets, const double* const* pivots, const double* factors,
                  std::int32_t count) {
    if (row_updates::wideRegisters())
        row_updates::subtractWide<kPivots, kTargets>(targets, pivots, factors, count);
    else
        row_updates::subtract<2, kPivots, kTargets>(targets, pivots, factors, count);
}

} // namespace geometry::matrices
