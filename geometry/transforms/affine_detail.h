#pragma once
// The parts of Mat2D and Mat3D that differ only by their dimension, written once for both.
#include "geometry/points/point3d.h"

#include <cmath>
#include <cstddef>

namespace geometry::detail {

// this * other: linear part a.R * b.R, translation a.R * b.t + a.t.
template <std::size_t N>
void compose(const double (&ra)[N][N], const double (&ta)[N], const double (&rb)[N][N], const double (&tb)[N],
             double (&r)[N][N], double (&t)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        t[i] = ta[i];
        for (std::size_t j = 0; j < N; ++j) {
            r[i][j] = 0;
            for (std::size_t k = 0; k < N; ++k)
                r[i][j] += ra[i][k] * rb[k][j];
            t[i] += ra[i][j] * tb[j];
        }
    }
}

// r * v, or its transpose times v.
template <std::size_t N>
void multiply(const double (&r)[N][N], const double (&v)[N], double (&out)[N], bool transposed) {
    for (std::size_t i = 0; i < N; ++i) {
        out[i] = 0;
        for (std::size_t j = 0; j < N; ++j)
            out[i] += (transposed ? r[j][i] : r[i][j]) * v[j];
    }
}

// R * p, or its transpose times p, on the first N coordinates of a point; the others are left as they are.
template <std::size_t N>
void rotate(const double (&r)[N][N], const CPoint3d& in, CPoint3d& out, bool transposed) {
    double v[N], q[N];
    for (std::size_t i = 0; i < N; ++i)
        v[i] = in[static_cast<int>(i)];
    multiply(r, v, q, transposed);
    for (std::size_t i = 0; i < N; ++i)
        out[static_cast<int>(i)] = q[i];
}

template <std::size_t N> void scaleLinear(double (&r)[N][N], double s) {
    for (auto& row : r)
        for (double& value : row)
            value *= s;
}

// Gauss-Jordan inversion in place with full pivoting, the translation becoming -R^-1 * t. Every pivot
// smaller than the smallest so far lands in `pivotMini`. A pivot below 2.2e-16 stops the inversion and
// leaves r and t as they were: the elimination runs on a copy. Returns 0, or 3 for a singular part.
template <std::size_t N> int invertFullPivot(double (&r)[N][N], double (&t)[N], double& pivotMini) {
    double a[N][N];
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = 0; j < N; ++j)
            a[i][j] = r[i][j];
    std::size_t pivotRow[N];
    std::size_t pivotCol[N];
    bool rowUsed[N] = {};
    bool colUsed[N] = {};
    pivotMini = 1e6;
    for (std::size_t step = 0; step < N; ++step) {
        std::size_t p = N;
        std::size_t q = N;
        double best = -1;
        for (std::size_t i = 0; i < N; ++i) {
            if (rowUsed[i]) continue;
            for (std::size_t j = 0; j < N; ++j) {
                if (!colUsed[j] && std::fabs(a[i][j]) > best) {
                    best = std::fabs(a[i][j]);
                    p = i;
                    q = j;
                }
            }
        }
        if (best < pivotMini) pivotMini = best;
        if (!(best >= 2.2e-16)) return 3;
        rowUsed[p] = colUsed[q] = true;
        pivotRow[step] = p;
        pivotCol[step] = q;
        // Exchange step: y_p and x_q swap their roles in y = A x.
        const double pivot = a[p][q];
        for (std::size_t i = 0; i < N; ++i) {
            if (i == p || a[i][q] == 0) continue;
            const double factor = a[i][q] / pivot;
            for (std::size_t j = 0; j < N; ++j)
                if (j != q) a[i][j] -= factor * a[p][j];
            a[i][q] = factor;
        }
        for (std::size_t j = 0; j < N; ++j)
            if (j != q) a[p][j] = -a[p][j] / pivot;
        a[p][q] = 1 / pivot;
    }
    // Row p_k of the table gives x_(q_k), column q_l belongs to y_(p_l).
    double inverse[N][N];
    for (std::size_t k = 0; k < N; ++k)
        for (std::size_t l = 0; l < N; ++l)
            inverse[pivotCol[k]][pivotRow[l]] = a[pivotRow[k]][pivotCol[l]];
    double translation[N];
    multiply(inverse, t, translation, false);
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t j = 0; j < N; ++j)
            r[i][j] = inverse[i][j];
        t[i] = -translation[i];
    }
    return 0;
}

} // namespace geometry::detail
