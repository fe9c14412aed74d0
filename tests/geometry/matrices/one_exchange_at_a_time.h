#pragma once
// What the diagonal inversions must give to the bit: their exchange steps made one at a time over every
// element of a dense copy, and random matrices long enough to span several panels of the delayed walk.
#include <cstddef>
#include <random>
#include <vector>

namespace testing_support {

using DenseRows = std::vector<std::vector<double>>;

// The exchange at (e, d): x_d and y_e swap their roles in y = A x.
inline void exchangeAt(DenseRows& a, std::size_t e, std::size_t d) {
    const double h = 1 / a[e][d];
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (i == e || a[i][d] == 0) continue;
        const double f = a[i][d] * h;
        for (std::size_t j = 0; j < a.size(); ++j)
            a[i][j] -= f * a[e][j];
        a[i][d] = f;
    }
    for (double& x : a[e])
        x *= -h;
    a[e][d] = h;
}

// The exchanges at (0, 0) .. (steps - 1, steps - 1), in order.
inline void exchangeInOrder(DenseRows& a, std::size_t steps) {
    for (std::size_t k = 0; k < steps; ++k)
        exchangeAt(a, k, k);
}

// n x n, symmetric, diagonally dominant, zero beyond `band` off the diagonal (and then some exact zeros
// inside it); a row zeroed in the pivot column skips its exchange.
inline DenseRows randomBand(std::size_t n, std::size_t band, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> value(-4, 4);
    DenseRows a(n, std::vector<double>(n, 0.0));
    for (std::size_t i = 0; i < n; ++i) {
        a[i][i] = 4.0 * static_cast<double>(band) + 1 + value(rng) / 8.0;
        for (std::size_t j = i + 1; j < n && j <= i + band; ++j)
            a[i][j] = a[j][i] = value(rng) / 3.0;
    }
    return a;
}

} // namespace testing_support
