// Products, sums, transposition and the removal of rows and columns of the dense matrix.
#include "geometry/matrices/matrice.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

bool sameSize(const Matrice& a, const Matrice& b) {
    return (a.lines || a.vec) && (b.lines || b.vec) && a.rows == b.rows && a.cols == b.cols;
}

// a + sign * b, element by element, in the form of b.
Matrice combine(const Matrice& a, const Matrice& b, double sign) {
    Matrice result;
    if (sameSize(a, b)) {
        result.SetNul(a.rows, b.vec ? 0 : static_cast<int>(b.cols));
        for (std::uint32_t i = 0; i < result.rows; ++i)
            for (std::uint32_t j = 0; j < result.cols; ++j)
                result[i][j] = a.element(i, j) + sign * b.element(i, j);
    }
    result.borrowed = 1;
    return result;
}

} // namespace

Matrice Matrice::operator*(const Matrice& m) const {
    Matrice result;
    result.borrowed = 1;
    if (!hasStorage() || !m.hasStorage()) return result;
    if (vec && m.vec) {
        if (rows == m.rows && result.allocate(rows, 0))
            for (std::uint32_t i = 0; i < rows; ++i)
                result.vec[i] = vec[i] * m.vec[i];
        return result;
    }
    // The sum runs over this matrix's columns; a longer right operand is read no further.
    if (m.rows < cols || !result.allocate(rows, m.vec ? 0 : m.cols)) return result;
    for (std::uint32_t i = 0; i < rows; ++i) {
        double* out = result[i];
        for (std::uint32_t k = 0; k < result.cols; ++k) {
            double sum = 0;
            for (std::uint32_t l = 0; l < cols; ++l)
                sum += element(i, l) * m.element(l, k);
            out[k] = sum;
        }
    }
    return result;
}

Matrice Matrice::operator*(double s) const {
    Matrice result;
    result.duplicate(*this);
    result *= s;
    result.borrowed = 1;
    return result;
}

Matrice& Matrice::operator*=(double s) {
    for (std::uint32_t i = 0; i < rows && hasStorage(); ++i)
        for (std::uint32_t j = 0; j < cols; ++j)
            (*this)[i][j] *= s;
    return *this;
}

Matrice Matrice::operator+(const Matrice& m) const {
    return combine(*this, m, 1);
}

Matrice Matrice::operator-(const Matrice& m) const {
    return combine(*this, m, -1);
}

Matrice Matrice::Transpose() const {
    Matrice result;
    if (hasStorage() && result.allocate(cols, rows))
        for (std::uint32_t i = 0; i < rows; ++i)
            for (std::uint32_t j = 0; j < cols; ++j)
                result.lines[j][i] = element(i, j);
    result.borrowed = 1;
    return result;
}

int Matrice::RemoveColumn(std::uint32_t j) {
    if (!lines || j >= cols || cols == 1) return -1;
    for (std::uint32_t i = 0; i < rows; ++i)
        std::memmove(lines[i] + j, lines[i] + j + 1, (cols - j - 1) * sizeof(double));
    --cols;
    return 1;
}

int Matrice::RemoveLine(std::uint32_t i) {
    if (!hasStorage() || i >= rows || rows == 1) return -1;
    if (lines) {
        std::free(lines[i]);
        std::memmove(lines + i, lines + i + 1, (rows - i - 1) * sizeof(double*));
    } else {
        std::memmove(vec + i, vec + i + 1, (rows - i - 1) * sizeof(double));
    }
    --rows;
    return 1;
}
