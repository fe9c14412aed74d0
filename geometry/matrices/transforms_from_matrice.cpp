// Mat2D and Mat3D made from a dense matrix.
#include "geometry/matrices/matrice.h"
#include "geometry/transforms/mat2d.h"
#include "geometry/transforms/mat3d.h"

#include <cstddef>

namespace {

// Element (i, j) for i, j below N and below the matrix's counts; the translation of each row copied is 0.
template <std::size_t N> void copyOverlap(const Matrice& m, double (&r)[N][N], double (&t)[N]) {
    for (std::uint32_t i = 0; i < N && i < m.rows; ++i) {
        for (std::uint32_t j = 0; j < N && j < m.cols; ++j)
            r[i][j] = m.element(i, j);
        t[i] = 0;
    }
}

template <std::size_t N> bool copyFirstRows(const Matrice& m, double (&r)[N][N]) {
    if (m.rows < N || !m[0]) return false;
    for (std::uint32_t i = 0; i < N; ++i)
        for (std::uint32_t j = 0; j < N; ++j)
            r[i][j] = m.element(i, j);
    return true;
}

} // namespace

Mat2D::Mat2D(const Matrice* m) {
    SetIDN();
    if (m) copyOverlap(*m, this->m, t);
}

Mat2D& Mat2D::operator=(const Matrice& matrix) {
    copyOverlap(matrix, m, t);
    return *this;
}

bool Mat2D::FromMatrice(const Matrice& matrix) {
    return copyFirstRows(matrix, m);
}

Mat3D::Mat3D(const Matrice* m) {
    SetIDN();
    if (m) copyOverlap(*m, r, t);
}

Mat3D& Mat3D::operator=(const Matrice& m) {
    copyOverlap(m, r, t);
    return *this;
}

bool Mat3D::FromMatrice(const Matrice& m) {
    return copyFirstRows(m, r);
}
