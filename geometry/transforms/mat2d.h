#pragma once
// Mat2D: a plane transform (x, y) -> (m00*x + m01*y + tx, m10*x + m11*y + ty). It rotates plan directions
// and fits a plane similarity to two pairs of points. Point operations read and write x and y only.
#include "geometry/points/point3d.h"

#include <cstddef>

class Mat3D;
class Matrice;

class Mat2D {
public:
    double m[2][2]; // linear part, row by row
    double t[2];    // translation

    // Identity.
    Mat2D();
    Mat2D(const Mat2D&) = default;
    Mat2D& operator=(const Mat2D&) = default;
    // The first 2 rows and columns of a dense matrix (as far as it has them) over the identity; the
    // translation of each row copied is 0. A null matrix gives the identity.
    explicit Mat2D(const Matrice* m);
    // The same over this transform's linear part.
    Mat2D& operator=(const Matrice& m);
    // The first 2 elements of the first 2 rows into the linear part, translation untouched; false for a
    // matrix of fewer rows.
    bool FromMatrice(const Matrice& m);

    // Smallest pivot met by the last Inverse.
    static double m_PivotMini;

    double* operator[](int i) { return m[i]; }
    const double* operator[](int i) const { return m[i]; }

    // Composition: (this * other)(p) = this(other(p)).
    Mat2D operator*(const Mat2D& other) const;
    // All six values times s, the translation too.
    Mat2D operator*(double s) const;
    // The linear part times s, translation unchanged.
    Mat2D& operator*=(double s);

    // Point operations: `in` mapped into `out`, or `out` mapped in place when `in` is null.
    void ApplyRot(CPoint3d* out, const CPoint3d* in = nullptr) const;
    void ApplyRotInv(CPoint3d* out, const CPoint3d* in = nullptr) const;
    void ApplyToPt(CPoint3d* out, const CPoint3d* in = nullptr) const;
    // Inverse of ApplyToPt for a rotation combined with a uniform scale.
    void ApplyToPtInv(CPoint3d* out, const CPoint3d* in = nullptr) const;
    void ApplyTrans(CPoint3d* out, const CPoint3d* in) const;
    void ApplyTrans(CPoint3d* p) const { ApplyTrans(p, nullptr); }

    double Determinant() const;
    // Inverts the whole transform; 0, or 3 (transform unchanged) when the linear part is singular.
    int Inverse();
    void SetIDN();
    void SetNul();
    // Rotation by a, zero translation.
    static Mat2D MKappa(double a);
    // Prints each row (number, values, translation) through the output routing.
    void Mprint() const;

    static double Dist2D(const double* v);
    // The plan part of a space transform; true when that transform does not mix z into x and y.
    bool FromMat3D(const Mat3D& m3);
    // The similarity (rotation, uniform scale, translation) that maps p1 to q1 and p2 to q2; false, with
    // nothing changed, for a null pointer or p1 equal to p2 in plan.
    bool SetFromPt1Pt2PtN1ptN2(const CPoint3d* p1, const CPoint3d* p2, const CPoint3d* q1,
                               const CPoint3d* q2);
};

static_assert(sizeof(Mat2D) == 48);
static_assert(offsetof(Mat2D, m) == 0 && offsetof(Mat2D, t) == 32);
