// The products of profile matrices that form and reduce normal equations.
#include "geometry/matrices/inversion_rules.h"
#include "geometry/matrices/matrice_sym.h"
#include "geometry/matrices/profile_rows.h"
#include "services/output/message_boxes.h"

#include "platform/ui/message_box.h"

#include <cstdlib>

namespace {

using namespace geometry::matrices;
using pLine = MatriceSym::pLine;

int refuse(const char* message) {
    mMessageBox(platform::MB_ICONERROR, nullptr, "%s", message);
    return -1;
}

constexpr const char* kSizesAddMul = "MatriceSym:AddMul(...):probleme de Colonne et lignes";
constexpr const char* kSizesSubMulNT = "MatriceSym:SubMulT(...):probleme de Colonne et lignes";
constexpr const char* kDataAddMul = "MatriceSym:AddMul(double *,...):probleme de Donn\xE9"
                                    "es";
constexpr const char* kDataSubMulT = "MatriceSym:SubMul(double *,...):probleme de Donn\xE9"
                                     "es";

ColumnRange rowRange(const MatriceSym& m, std::uint32_t i) {
    return storedColumns(m[i], m.cols);
}

// R gets r x c zeros when it has no table yet; otherwise it must hold r x c.
bool measure(MatriceSym& R, std::uint32_t r, std::uint32_t c) {
    if (!R.table) {
        R.SetNul(r, c);
        return true;
    }
    return R.rows >= r && R.cols >= c;
}

bool measure(Matrice& R, std::uint32_t r, std::uint32_t c) {
    if (!R.lines && !R.vec) {
        R.SetNul(r, static_cast<int>(c));
        return true;
    }
    return R.rows >= r && R.cols >= c;
}

// R[i][j] += sum; an exact 0 leaves the profile as it is. False when R cannot grow (R is then emptied).
bool accumulate(MatriceSym& R, std::uint32_t i, std::uint32_t j, double sum) {
    if (sum == 0) return true;
    double* at = R.pAt(i, j);
    if (!at) {
        R.SetNul(0, 0);
        g_CalculState = -100;
        return false;
    }
    *at += sum;
    return true;
}

// A right operand the size check let through may still lack a table; there is then nothing to add.
bool missing(const MatriceSym& R, const MatriceSym& A) {
    return !R.table || !A.table;
}

} // namespace

int MatriceSym::AddMul(MatriceSym& R, const MatriceSym& A, const MatriceSym& B, int transB,
                       CProgressMeter* pm) {
    const std::uint32_t inner = transB ? B.cols : B.rows;
    const std::uint32_t outer = transB ? B.rows : B.cols;
    if (A.cols > inner || !measure(R, A.rows, outer)) return refuse(kSizesAddMul);
    if (missing(R, A)) return 0;
    std::uint32_t* minRow = nullptr;
    std::uint32_t* maxRow = nullptr;
    if (!transB && B.GetMinMaxCol(minRow, maxRow) != B.cols) {
        std::free(minRow);
        std::free(maxRow);
        return -1;
    }
    int result = 0;
    for (std::uint32_t i = 0; i < A.rows && result == 0; ++i) {
        if ((result = progressAt(pm, i))) break;
        const pLine a = A[i];
        const ColumnRange aRange = rowRange(A, i);
        if (aRange.empty()) continue;
        for (std::uint32_t j = 0; j < outer && result == 0; ++j) {
            double sum = 0;
            if (transB) {
                sum = dotOver(a, B[j], overlap(aRange, rowRange(B, j)));
            } else {
                // Column j of B lives in rows minRow[j]..maxRow[j] only.
                const ColumnRange k = overlap(aRange, {minRow[j], maxRow[j] + 1});
                for (std::uint32_t l = k.begin; l < k.end; ++l) {
                    const double x = a[static_cast<std::int32_t>(l)];
                    if (x != 0) sum += x * B[l][static_cast<std::int32_t>(j)];
                }
            }
            if (!accumulate(R, i, j, sum)) result = -1;
        }
    }
    std::free(minRow);
    std::free(maxRow);
    return result;
}

int MatriceSym::AddMul(MatriceSym& R, const MatriceSym& A, const Matrice& M, CProgressMeter* pm) {
    if (M.rows < A.cols || !measure(R, A.rows, M.cols)) return refuse(kSizesAddMul);
    if (missing(R, A)) return 0;
    for (std::uint32_t i = 0; i < A.rows; ++i) {
        if (const int stop = progressAt(pm, i)) return stop;
        const pLine a = A[i];
        const ColumnRange range = rowRange(A, i);
        if (range.empty()) continue;
        for (std::uint32_t j = 0; j < M.cols; ++j) {
            double sum = 0;
            for (std::uint32_t k = range.begin; k < range.end; ++k) {
                const double x = a[static_cast<std::int32_t>(k)];
                if (x != 0) sum += x * M.element(k, j);
            }
            if (!accumulate(R, i, j, sum)) return -1;
        }
    }
    return 0;
}

int MatriceSym::AddMul(double* y, const MatriceSym& A, const double* x, double s, CProgressMeter* pm) {
    if (!y || !x) return refuse(kDataAddMul);
    for (std::uint32_t i = 0; i < A.rows && A.table; ++i) {
        if (const int stop = progressAt(pm, i)) return stop;
        const pLine a = A[i];
        const ColumnRange range = rowRange(A, i);
        double sum = 0;
        for (std::uint32_t j = range.begin; j < range.end; ++j) {
            const double v = a[static_cast<std::int32_t>(j)];
            if (v != 0) sum += v * x[j];
        }
        y[i] += s * sum;
    }
    return 0;
}

int MatriceSym::SubMulT(double* y, const MatriceSym& A, const double* x, CProgressMeter* pm) {
    if (!y || !x) return refuse(kDataSubMulT);
    for (std::uint32_t i = 0; i < A.rows && A.table; ++i) {
        if (const int stop = progressAt(pm, i)) return stop;
        const pLine a = A[i];
        const ColumnRange range = rowRange(A, i);
        for (std::uint32_t j = range.begin; j < range.end; ++j) {
            const double v = a[static_cast<std::int32_t>(j)];
            if (v != 0) y[j] -= v * x[i];
        }
    }
    return 0;
}

int MatriceSym::SubMulNT(Matrice& R, const MatriceSym& A, const MatriceSym& B, CProgressMeter* pm) {
    if (B.cols < A.cols || !measure(R, A.rows, B.rows)) return refuse(kSizesSubMulNT);
    if (!A.table || !R[0]) return 0;
    for (std::uint32_t i = 0; i < A.rows; ++i) {
        if (const int stop = progressAt(pm, i)) return stop;
        const pLine a = A[i];
        const ColumnRange aRange = rowRange(A, i);
        if (aRange.empty()) continue;
        double* out = R[i];
        for (std::uint32_t j = 0; j < B.rows; ++j)
            out[j] -= dotOver(a, B[j], overlap(aRange, rowRange(B, j)));
    }
    return 0;
}
