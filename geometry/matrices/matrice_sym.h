#pragma once
// MatriceSym: the large sparse matrices of least-squares adjustments (design matrices, normal equations) in
// profile form: each row stores one contiguous range of columns, grown on demand when an element outside it
// is written. Products form and reduce normal equations; two in-place Gauss-Jordan inversions follow the
// rules of the dense matrix (result codes, progress and cancel).
//
// Ownership follows Matrice: a returned result (`borrowed` = 1) hands its storage to the first matrix made
// from it, and frees it when destroyed if nobody did. A failed allocation leaves the matrix empty and sets
// g_CalculState to -100.
#include "geometry/matrices/matrice.h"

#include <cstddef>
#include <cstdint>

class MatriceSym {
public:
    // One row: the values of columns first..last. Copies share the values.
    struct __attribute__((packed)) pLine {
        std::int32_t first = 0;
        std::int32_t last = 0;
        std::int32_t allocated = 0; // doubles allocated at `values`
        double* values = nullptr;   // column `first` at index 0; null for a row of zeros

        // Element j; 0 outside the stored range.
        double operator[](std::int32_t j) const {
            return values && j >= first && j <= last ? values[j - first] : 0;
        }
        // Address of element j, the stored range grown to hold it; null when the memory runs out.
        double* pAtt(std::int32_t j);
    };

    std::uint32_t rows = 0;
    std::uint32_t cols = 0;
    pLine* table = nullptr; // rows + 1 entries, the last one always empty
    double pivotMini = 0;   // smallest pivot met by the last inversion
    int borrowed = 0;       // 1 on a returned result

    MatriceSym() = default;
    MatriceSym(const MatriceSym& s);
    // Each row trimmed to its first..last non-zero value; a borrowed s hands its storage over.
    MatriceSym& operator=(const MatriceSym& s);
    // Every non-zero element of m; a vector is read as one column.
    MatriceSym& operator=(const Matrice& m);
    ~MatriceSym();

    // Releases the storage; r x c zeros when both are positive.
    void SetNul(std::uint32_t r, std::uint32_t c);
    // Frees the rows and the table unless `borrowed`.
    void VideMatrice();

    // Row i; the empty row beyond the last.
    pLine operator[](std::uint32_t i) const;
    // Address of element (i, j), grown into the row's range; null outside the matrix.
    double* pAt(std::uint32_t i, std::uint32_t j);

    // m becomes rows x cols (or cols x rows) holding every stored element; 1, or 0 when m cannot be
    // allocated.
    int CopyTo(Matrice& m, int transposed) const;
    // For each column, the first and last row whose range holds it (0x7F7F7F7F and 0 for none). Null arrays
    // are allocated with malloc, cols entries each, for the caller to free. Returns cols, 0 on failure.
    std::uint32_t GetMinMaxCol(std::uint32_t*& minRow, std::uint32_t*& maxRow) const;
    MatriceSym Transpose() const;

    // R += A * B^T (transB) or R += A * B; an R without a table is made to measure. 0, -1 (sizes, with a
    // message box, operands unchanged), or 0x30000 + i when the meter cancels at row i.
    static int AddMul(MatriceSym& R, const MatriceSym& A, const MatriceSym& B, int transB,
                      CProgressMeter* pm = nullptr);
    // R += A * M.
    static int AddMul(MatriceSym& R, const MatriceSym& A, const Matrice& M, CProgressMeter* pm = nullptr);
    // y += s * A * x.
    static int AddMul(double* y, const MatriceSym& A, const double* x, double s,
                      CProgressMeter* pm = nullptr);
    // y -= A^T * x.
    static int SubMulT(double* y, const MatriceSym& A, const double* x, CProgressMeter* pm = nullptr);
    // R -= A * B^T into a dense matrix.
    static int SubMulNT(Matrice& R, const MatriceSym& A, const MatriceSym& B, CProgressMeter* pm = nullptr);

    // In-place Gauss-Jordan inversion with the result codes of Matrice::Inverse.
    int Inverse(int opt = 0, CProgressMeter* pm = nullptr);
    // Diagonal pivots in order. Option bit 1: only the rows in the pivot row's range are reduced, which is
    // enough for a symmetric profile.
    int InverseSimple(int opt = 0, CProgressMeter* pm = nullptr);

    void Mprint() const;

private:
    void release();
    void takeOver(MatriceSym& s);
    void copyFrom(const MatriceSym& s);
    void fail();
};

static_assert(sizeof(MatriceSym::pLine) == 12 + sizeof(void*), "packed row");
static_assert(offsetof(MatriceSym::pLine, last) == 4 && offsetof(MatriceSym::pLine, allocated) == 8 &&
              offsetof(MatriceSym::pLine, values) == 12);
static_assert(sizeof(void*) != 8 || sizeof(MatriceSym) == 32, "exported layout");
static_assert(offsetof(MatriceSym, cols) == 4 && offsetof(MatriceSym, table) == 8 &&
              offsetof(MatriceSym, pivotMini) == 8 + sizeof(void*));
static_assert(offsetof(MatriceSym, borrowed) == offsetof(MatriceSym, pivotMini) + sizeof(double));
