#pragma once
// Mat3D: a space transform p -> R*p + t. It carries the polyline entity's own coordinate system, the
// working system of a segment and the local frames of the projections, and builds and decomposes the
// rotations of photogrammetry (omega, phi, kappa and the camera orientation).
//
// Angles are radians unless a unit letter says otherwise: 'G' grads (counted clockwise, so they change
// sign), 'D' degrees.
#include "geometry/points/point3d.h"

#include <cstddef>

class Matrice;

class Mat3D {
public:
    double r[3][3]; // linear part, row by row; rows are the axes of a system built from axes
    double t[3];    // translation

    // Identity.
    Mat3D();
    Mat3D(const Mat3D&) = default;
    Mat3D& operator=(const Mat3D&) = default;
    // The first 3 rows and columns of a dense matrix (as far as it has them) over the identity; the
    // translation of each row copied is 0. A null matrix gives the identity.
    explicit Mat3D(const Matrice* m);
    // The same over this transform's linear part.
    Mat3D& operator=(const Matrice& m);
    // The first 3 elements of the first 3 rows into the linear part, translation untouched; false for a
    // matrix of fewer rows.
    bool FromMatrice(const Matrice& m);
    // A copy of *m, the identity for null.
    explicit Mat3D(const Mat3D* m);

    // Smallest pivot met by the last Inverse.
    static double m_PivotMini;

    double* operator[](int i) { return r[i]; }
    const double* operator[](int i) const { return r[i]; }

    // Composition: (this * other)(p) = this(other(p)).
    Mat3D operator*(const Mat3D& other) const;
    // The linear part times s, translation copied.
    Mat3D operator*(double s) const;
    // The linear part times s, translation unchanged.
    Mat3D& operator*=(double s);

    // Point operations: `in` mapped into `out`, or `out` mapped in place when `in` is null.
    void ApplyRot(CPoint3d* out, const CPoint3d* in = nullptr) const;
    void ApplyRotInv(CPoint3d* out, const CPoint3d* in = nullptr) const;
    void ApplyToPt(CPoint3d* out, const CPoint3d* in = nullptr) const;
    // Inverse of ApplyToPt for a rotation combined with a uniform scale.
    void ApplyToPtInv(CPoint3d* out, const CPoint3d* in = nullptr) const;
    void ApplyTrans(CPoint3d* out, const CPoint3d* in = nullptr) const;
    // Plan part only: z of `out` is left as it is.
    void ApplyToPt2D(CPoint3d* out, const CPoint3d* in = nullptr) const;

    double Determinant() const;
    // Inverts the whole transform; 0, or 3 (transform unchanged) when the linear part is singular.
    int Inverse();
    // Transposes the linear part (the inverse of a rotation); translation untouched. Returns 0.
    int InvBySwap();
    void SetIDN();
    void SetNul();
    // Prints each row (number, values, translation) through the output routing.
    void Mprint() const;

    static double Dist3D(const double* v);
    static bool crossProduct(const double* a, const double* b, double* out);

    // Origin and the three columns of the linear part; each pointer optional.
    void getCoordSystem(CPoint3d* origin, CPoint3d* ax, CPoint3d* ay, CPoint3d* az) const;
    void setCoordSystem(const CPoint3d* origin, const CPoint3d* ax, const CPoint3d* ay, const CPoint3d* az);
    // The coordinate system of a normal by the arbitrary-axis rule of the DXF format (rows are the axes);
    // a null or zero normal gives the world system.
    void SetFromNormVector(const double* n);
    // x axis along vx, z along vx * vy; false (nothing changed) for null or degenerate vectors.
    bool SetFromVxVy(const double* vx, const double* vy);

    // Rotations about z, x and y.
    static Mat3D MKappa(double a);
    static Mat3D MOmega(double a);
    static Mat3D MPhi(double a);
    // Rx(omega) * Ry(phi) * Rz(kappa), and its transpose.
    static Mat3D MOmegaPhiKappa(double omega, double phi, double kappa, char unit = 0);
    static Mat3D MOmegaPhiKappa(const CPoint3d& angles);
    static Mat3D MOmegaPhiKappaInv(double omega, double phi, double kappa, char unit = 0);
    static Mat3D MOmegaPhiKappaInv(const CPoint3d& angles);
    // Camera orientation rotation.
    static Mat3D MOriAvRCam(double a, double b, double c, char unit = 0);

    // Angles of the rotation in this matrix; each returns the residual (the greatest difference between
    // the rotation rebuilt from the angles and the matrix with its columns made unit). GetOriAvRCam reports
    // a residual above 1e-6 through the output routing.
    double GetOmegaPhiKappa(double& omega, double& phi, double& kappa, char unit = 0) const;
    double GetPhiOmegaKappa(double& phi, double& omega, double& kappa, char unit = 0) const;
    double GetKappaPhiOmega(double& kappa, double& phi, double& omega, char unit = 0) const;
    double GetOriAvRCam(double& a, double& b, double& c, char unit = 0) const;

    // This matrix when its columns are unit, else a copy with unit columns in a static matrix that the
    // next call overwrites.
    const Mat3D& GetUniformCopy() const;
};

static_assert(sizeof(Mat3D) == 96);
static_assert(offsetof(Mat3D, r) == 0 && offsetof(Mat3D, t) == 72);
