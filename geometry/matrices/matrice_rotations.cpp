// The dense matrix as a 3 x 3 rotation: building one and reading its angles through Mat3D.
#include "geometry/matrices/matrice.h"
#include "geometry/transforms/mat3d.h"

namespace {

Matrice returnedRotation(const Mat3D& rotation) {
    Matrice result;
    result = rotation;
    result.borrowed = 1;
    return result;
}

// The first three rows and columns, the identity where the matrix is smaller, no translation.
Mat3D rotationPart(const Matrice& m) {
    Mat3D rotation;
    for (std::uint32_t i = 0; i < 3 && i < m.rows; ++i)
        for (std::uint32_t j = 0; j < 3 && j < m.cols; ++j)
            rotation.r[i][j] = m.element(i, j);
    return rotation;
}

} // namespace

bool Matrice::SetFromVxVy(const double* vx, const double* vy) {
    Mat3D system;
    if (!system.SetFromVxVy(vx, vy)) return false;
    *this = system;
    return lines != nullptr;
}

Matrice Matrice::MKappa(double a) {
    return returnedRotation(Mat3D::MKappa(a));
}

Matrice Matrice::MOmega(double a) {
    return returnedRotation(Mat3D::MOmega(a));
}

Matrice Matrice::MPhi(double a) {
    return returnedRotation(Mat3D::MPhi(a));
}

double Matrice::Dist3D(const double* v) {
    return Mat3D::Dist3D(v);
}

bool Matrice::crossProduct(const double* a, const double* b, double* out) {
    return Mat3D::crossProduct(a, b, out);
}

double Matrice::GetOmegaPhiKappa(double& omega, double& phi, double& kappa, char unit) const {
    return rotationPart(*this).GetOmegaPhiKappa(omega, phi, kappa, unit);
}

double Matrice::GetPhiOmegaKappa(double& phi, double& omega, double& kappa, char unit) const {
    return rotationPart(*this).GetPhiOmegaKappa(phi, omega, kappa, unit);
}
