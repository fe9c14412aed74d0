#include "geometry/matrices/matrice.h"

#include "geometry/transforms/mat3d.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

int g_CalculState = 0;

Matrice::Matrice(std::uint32_t r, int c) {
    SetNul(r, c);
}

Matrice::Matrice(const Matrice& m) {
    copyFrom(m);
}

Matrice& Matrice::operator=(const Matrice& m) {
    if (&m == this) return *this;
    release();
    copyFrom(m);
    return *this;
}

Matrice& Matrice::operator=(const Mat3D& m) {
    if (!(lines && rows == 3 && cols == 3)) {
        release();
        if (!allocate(3, 3)) return *this;
    }
    for (std::uint32_t i = 0; i < 3; ++i)
        std::copy(m.r[i], m.r[i] + 3, lines[i]);
    return *this;
}

Matrice::~Matrice() {
    release();
}

void Matrice::SetNul(std::uint32_t r, int c) {
    release();
    allocate(r, c > 0 ? static_cast<std::uint32_t>(c) : 0);
}

void Matrice::SetIDN(std::uint32_t r, int c) {
    SetNul(r, c);
    if (!lines) return;
    if (cols == 1) {
        for (std::uint32_t i = 0; i < rows; ++i)
            lines[i][0] = 1;
    } else if (rows == cols) {
        for (std::uint32_t i = 0; i < rows; ++i)
            lines[i][i] = 1;
    }
}

void Matrice::VideMatrice() {
    if (borrowed) return;
    const std::uint32_t r = rows;
    const std::uint32_t c = cols;
    release();
    rows = r;
    cols = c;
}

void Matrice::Realloc(std::uint32_t n) {
    if (lines) return;
    if (n == 0) {
        std::free(vec);
        vec = nullptr;
        rows = 0;
        cols = cols ? cols : 1;
        return;
    }
    // Only a 32-bit size can overflow; widened so that the 64-bit build compares no constant out of range.
    if (std::uint64_t{n} * sizeof(double) > std::numeric_limits<std::size_t>::max()) return fail();
    auto* grown = static_cast<double*>(std::realloc(vec, n * sizeof(double)));
    if (!grown) return fail();
    const std::uint32_t kept = vec ? std::min(rows, n) : 0;
    std::fill(grown + kept, grown + n, 0.0);
    vec = grown;
    rows = n;
    cols = cols ? cols : 1;
}

double* Matrice::operator[](std::uint32_t i) {
    if (i >= rows) return nullptr;
    return lines ? lines[i] : vec ? vec + i : nullptr;
}

const double* Matrice::operator[](std::uint32_t i) const {
    return const_cast<Matrice&>(*this)[i];
}

double Matrice::element(std::uint32_t i, std::uint32_t j) const {
    if (i >= rows || j >= cols) return 0;
    if (lines) return lines[i][j];
    return vec ? vec[i] : 0;
}

void Matrice::release() {
    if (lines) {
        for (std::uint32_t i = 0; i < rows; ++i)
            std::free(lines[i]);
        std::free(lines);
    }
    std::free(vec);
    lines = nullptr;
    vec = nullptr;
    rows = cols = 0;
    borrowed = 0;
}

void Matrice::takeOver(Matrice& m) {
    rows = m.rows;
    cols = m.cols;
    lines = m.lines;
    vec = m.vec;
    pivotMini = m.pivotMini;
    m.lines = nullptr;
    m.vec = nullptr;
    m.rows = m.cols = 0;
    m.borrowed = 0;
}

bool Matrice::allocate(std::uint32_t r, std::uint32_t c) {
    if (r == 0) return true;
    // The whole matrix must be addressable, which a 32-bit build does not give for every pair of counts.
    const std::size_t width = c ? c : 1;
    if (r > std::numeric_limits<std::size_t>::max() / sizeof(double) / width) {
        fail();
        return false;
    }
    if (c == 0) {
        vec = static_cast<double*>(std::calloc(r, sizeof(double)));
        if (!vec) {
            fail();
            return false;
        }
        rows = r;
        cols = 1;
        return true;
    }
    lines = static_cast<double**>(std::calloc(r, sizeof(double*)));
    if (!lines) {
        fail();
        return false;
    }
    rows = r;
    cols = c;
    for (std::uint32_t i = 0; i < r; ++i) {
        lines[i] = static_cast<double*>(std::calloc(c, sizeof(double)));
        if (!lines[i]) {
            fail();
            return false;
        }
    }
    return true;
}

void Matrice::copyFrom(const Matrice& m) {
    // A returned result is a temporary of the caller's expression: taking its storage is the whole point.
    if (m.borrowed) return takeOver(const_cast<Matrice&>(m));
    duplicate(m);
}

void Matrice::duplicate(const Matrice& m) {
    pivotMini = m.pivotMini;
    if (!m.hasStorage()) {
        rows = m.rows;
        cols = m.cols;
        return;
    }
    if (!allocate(m.rows, m.lines ? m.cols : 0)) return;
    if (m.vec) {
        std::memcpy(vec, m.vec, rows * sizeof(double));
        return;
    }
    for (std::uint32_t i = 0; i < rows; ++i)
        std::memcpy(lines[i], m.lines[i], cols * sizeof(double));
}

void Matrice::fail() {
    release();
    g_CalculState = -100;
}
