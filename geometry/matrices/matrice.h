#pragma once
// Matrice: the dense matrix of doubles of least-squares work, stored row by row (table form) or as one
// column (vector form), with arithmetic, row and column removal, the determinant and two in-place
// Gauss-Jordan inversions that report progress and can be cancelled.
//
// Ownership: a matrix owns its storage. Results returned by value carry `borrowed` = 1; the first matrix
// constructed or assigned from such a result takes its storage over without a copy and leaves it empty. A
// result nobody takes over frees its storage when destroyed.
//
// Storage comes from the process heap. A failed allocation leaves the matrix empty (counts 0, no storage) and
// sets g_CalculState to -100; every member then answers its failure value.
#include <cstddef>
#include <cstdint>

class CProgressMeter;
class Mat3D;

// -100 after any failed allocation of matrix storage; never reset by the matrices.
extern int g_CalculState;

class Matrice {
public:
    std::uint32_t rows = 0;
    std::uint32_t cols = 0;   // 1 for the vector form
    double** lines = nullptr; // table form: `rows` rows of `cols` doubles
    double* vec = nullptr;    // vector form: `rows` doubles
    double pivotMini = 0;     // smallest pivot met by the last inversion
    int borrowed = 0;         // 1 on a returned result: the next matrix made from it takes its storage

    Matrice() = default;
    // r rows of c zeros; c <= 0 gives a vector of r zeros.
    Matrice(std::uint32_t r, int c);
    Matrice(const Matrice& m);
    Matrice& operator=(const Matrice& m);
    // The 3x3 linear part of a transform; the translation is dropped.
    Matrice& operator=(const Mat3D& m);
    ~Matrice();

    // Releases the storage, then r rows of c zeros (c <= 0: a vector of r zeros; r = 0: empty).
    void SetNul(std::uint32_t r, int c);
    // SetNul, then 1 on the diagonal of a square table or in every row of a single column.
    void SetIDN(std::uint32_t r, int c);
    // Frees the storage unless `borrowed`; the counts stay.
    void VideMatrice();
    // Vector form (or an empty matrix): n elements, new ones zero. A table is left as it is.
    void Realloc(std::uint32_t n);

    // Row i, the address of element i of a vector, or null.
    double* operator[](std::uint32_t i);
    const double* operator[](std::uint32_t i) const;
    // Element (i, j) in either form; 0 outside the matrix or without storage.
    double element(std::uint32_t i, std::uint32_t j) const;

    // table x table, table x vector (a vector), vector x vector (element-wise). Operands whose sizes do not
    // fit give an empty matrix.
    Matrice operator*(const Matrice& m) const;
    Matrice operator*(double s) const;
    Matrice& operator*=(double s);
    // Element-wise on operands of the same size; the vector form when m is a vector; else empty.
    Matrice operator+(const Matrice& m) const;
    Matrice operator-(const Matrice& m) const;
    // cols x rows table; a vector becomes a one-row table.
    Matrice Transpose() const;

    // 0 for an empty or non-square matrix.
    double Determinant() const;
    // In-place Gauss-Jordan inversion with full pivoting. Option bit 0: diagonal pivots only (more than 6
    // rows); bit 2: report a non-positive diagonal (5). Results: 0 inverted; 1 empty, not square or no
    // storage; 2 the progress callback threw; 3 NaN on the diagonal; 0x10000 + k singular at step k;
    // 0x30000 + k cancelled at step k. A singular or cancelled matrix is left as the elimination left it.
    int Inverse(int opt = 0, CProgressMeter* pm = nullptr);
    // The same with the diagonal pivots in order, no search and no patching of a singular matrix.
    int InverseSimple(int opt = 0, CProgressMeter* pm = nullptr);

    // Table form: drops column j; 1, or -1 for a vector, a single column or j out of range.
    int RemoveColumn(std::uint32_t j);
    // Drops row i (element i of a vector); 1, or -1 without storage, for a single row or i out of range.
    int RemoveLine(std::uint32_t i);

    // The 3x3 system with x along vx and z along vx * vy; false, nothing changed, for null or degenerate
    // vectors.
    bool SetFromVxVy(const double* vx, const double* vy);
    // 3x3 rotations about z, x and y.
    static Matrice MKappa(double a);
    static Matrice MOmega(double a);
    static Matrice MPhi(double a);
    static double Dist3D(const double* v);
    static bool crossProduct(const double* a, const double* b, double* out);
    // Angles of the rotation in the first three rows and columns (the identity where the matrix is smaller);
    // each returns the residual of the rebuilt rotation.
    double GetOmegaPhiKappa(double& omega, double& phi, double& kappa, char unit = 0) const;
    double GetPhiOmegaKappa(double& phi, double& omega, double& kappa, char unit = 0) const;

    // Prints the matrix through the output routing.
    void Mprint() const;

private:
    // Frees whatever storage this matrix holds and makes it empty.
    void release();
    // Takes over the storage of m, which is left empty.
    void takeOver(Matrice& m);
    // Storage for r rows of c columns (the vector form for c = 0), zeroed; false, and empty, on failure.
    bool allocate(std::uint32_t r, std::uint32_t c);
    // Takes the storage of a borrowed m over, else duplicates it.
    void copyFrom(const Matrice& m);
    // An empty matrix becomes a copy of m.
    void duplicate(const Matrice& m);
    // Marks a failed allocation: empty matrix, g_CalculState = -100.
    void fail();
    bool hasStorage() const { return lines || vec; }

    friend class MatriceSym;
};

static_assert(sizeof(void*) != 8 || sizeof(Matrice) == 40, "exported layout");
static_assert(offsetof(Matrice, rows) == 0 && offsetof(Matrice, cols) == 4 && offsetof(Matrice, lines) == 8);
static_assert(offsetof(Matrice, vec) == 8 + sizeof(void*) &&
              offsetof(Matrice, pivotMini) == 8 + 2 * sizeof(void*));
static_assert(offsetof(Matrice, borrowed) == offsetof(Matrice, pivotMini) + sizeof(double));
