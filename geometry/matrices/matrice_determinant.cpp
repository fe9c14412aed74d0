// The determinant of the dense matrix: cofactor expansion up to 8 x 8, LU factorisation beyond, where the
// n! products of the expansion would never end.
#include "geometry/matrices/matrice.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

namespace {

constexpr std::uint32_t kLargestExpanded = 8;

// Expansion along the first column; the minors are views onto the matrix's rows, advanced by one column.
double expand(const double* const* rows, std::uint32_t n) {
    if (n == 1) return rows[0][0];
    if (n == 2) return rows[0][0] * rows[1][1] - rows[0][1] * rows[1][0];
    std::array<const double*, kLargestExpanded> minor{};
    double det = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint32_t m = 0;
        for (std::uint32_t r = 0; r < n; ++r)
            if (r != i) minor[m++] = rows[r] + 1;
        const double term = rows[i][0] * expand(minor.data(), n - 1);
        det += i % 2 == 0 ? term : -term;
    }
    return det;
}

// Gaussian elimination with partial pivoting on a copy.
double factorise(const double* const* rows, std::uint32_t n) {
    std::unique_ptr<double[], decltype(&std::free)> copy(
        static_cast<double*>(std::malloc(std::size_t{n} * n * sizeof(double))), &std::free);
    if (!copy) {
        g_CalculState = -100;
        return 0;
    }
    for (std::uint32_t i = 0; i < n; ++i)
        std::memcpy(copy.get() + std::size_t{i} * n, rows[i], n * sizeof(double));
    auto at = [&](std::uint32_t i, std::uint32_t j) -> double& { return copy[std::size_t{i} * n + j]; };
    double det = 1;
    for (std::uint32_t k = 0; k < n; ++k) {
        std::uint32_t p = k;
        for (std::uint32_t i = k + 1; i < n; ++i)
            if (std::fabs(at(i, k)) > std::fabs(at(p, k))) p = i;
        if (at(p, k) == 0) return 0;
        if (p != k) {
            for (std::uint32_t j = k; j < n; ++j)
                std::swap(at(p, j), at(k, j));
            det = -det;
        }
        det *= at(k, k);
        for (std::uint32_t i = k + 1; i < n; ++i) {
            const double f = at(i, k) / at(k, k);
            for (std::uint32_t j = k + 1; j < n; ++j)
                at(i, j) -= f * at(k, j);
        }
    }
    return det;
}

} // namespace

double Matrice::Determinant() const {
    if (rows == 0 || rows != cols || !hasStorage()) return 0;
    if (vec) return vec[0];
    return rows <= kLargestExpanded ? expand(lines, rows) : factorise(lines, rows);
}
