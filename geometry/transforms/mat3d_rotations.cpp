// The rotations of photogrammetry: built from three angles, and the angles found back from a rotation.
#include "geometry/transforms/mat3d.h"

#include "geometry/points/angle_helpers.h"
#include "geometry/points/angle_units.h"
#include "services/output/output.h"

#include <algorithm>
#include <cmath>

using geometry::clampedAsin;

namespace {

// Factor from a builder's unit to radians. Grads turn the other way, hence the signed factor.
double toRadians(char unit) {
    if (unit == 'G') return 1 / radian_en_grade;
    if (unit == 'D') return 1 / radian_en_degre;
    return 1;
}

// Factor from radians to an extraction's unit.
double fromRadians(char unit, bool lowerCaseToo) {
    if (unit == 'G' || (lowerCaseToo && unit == 'g')) return radian_en_grade;
    if (unit == 'D' || (lowerCaseToo && unit == 'd')) return radian_en_degre;
    return 1;
}

// A rotation with zero translation from its nine values, row by row.
Mat3D rotation(double r00, double r01, double r02, double r10, double r11, double r12, double r20, double r21,
               double r22) {
    Mat3D m;
    const double values[3][3] = {{r00, r01, r02}, {r10, r11, r12}, {r20, r21, r22}};
    std::copy(&values[0][0], &values[0][0] + 9, &m.r[0][0]);
    return m;
}

// The greatest absolute difference between the linear parts of a and b.
double residual(const Mat3D& a, const Mat3D& b) {
    double worst = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            worst = std::max(worst, std::fabs(a.r[i][j] - b.r[i][j]));
    return worst;
}

void scaleAngles(double factor, double& a, double& b, double& c) {
    a *= factor;
    b *= factor;
    c *= factor;
}

double positiveAngle(double a) {
    return a < 0 ? a + _400rd : a;
}

} // namespace

Mat3D Mat3D::MKappa(double a) {
    const double c = std::cos(a), s = std::sin(a);
    return rotation(c, -s, 0, s, c, 0, 0, 0, 1);
}

Mat3D Mat3D::MOmega(double a) {
    const double c = std::cos(a), s = std::sin(a);
    return rotation(1, 0, 0, 0, c, -s, 0, s, c);
}

Mat3D Mat3D::MPhi(double a) {
    const double c = std::cos(a), s = std::sin(a);
    return rotation(c, 0, s, 0, 1, 0, -s, 0, c);
}

Mat3D Mat3D::MOmegaPhiKappa(double omega, double phi, double kappa, char unit) {
    scaleAngles(toRadians(unit), omega, phi, kappa);
    const double co = std::cos(omega), so = std::sin(omega);
    const double cp = std::cos(phi), sp = std::sin(phi);
    const double ck = std::cos(kappa), sk = std::sin(kappa);
    return rotation(ck * cp, -sk * cp, sp,                                    //
                    sp * so * ck + sk * co, ck * co - sp * so * sk, -cp * so, //
                    sk * so - sp * co * ck, sp * co * sk + ck * so, cp * co);
}

Mat3D Mat3D::MOmegaPhiKappa(const CPoint3d& angles) {
    return MOmegaPhiKappa(angles.x, angles.y, angles.z, 0);
}

Mat3D Mat3D::MOmegaPhiKappaInv(double omega, double phi, double kappa, char unit) {
    Mat3D m = MOmegaPhiKappa(omega, phi, kappa, unit);
    m.InvBySwap();
    return m;
}

Mat3D Mat3D::MOmegaPhiKappaInv(const CPoint3d& angles) {
    return MOmegaPhiKappaInv(angles.x, angles.y, angles.z, 0);
}

Mat3D Mat3D::MOriAvRCam(double a, double b, double c, char unit) {
    scaleAngles(toRadians(unit), a, b, c);
    const double B = -std::cos(b), S = -std::sin(b);
    const double ca = std::cos(a), sa = std::sin(a);
    const double cc = std::cos(c), sc = std::sin(c);
    return rotation(cc * ca - B * sa * sc, -sc * ca - B * sa * cc, S * sa, //
                    B * ca * sc + cc * sa, B * ca * cc - sc * sa, -S * ca, //
                    sc * S, cc * S, B);
}

const Mat3D& Mat3D::GetUniformCopy() const {
    double squared[3];
    bool uniform = true;
    for (int j = 0; j < 3; ++j) {
        squared[j] = r[0][j] * r[0][j] + r[1][j] * r[1][j] + r[2][j] * r[2][j];
        uniform = uniform && std::fabs(squared[j] - 1) <= 1e-7;
    }
    if (uniform) return *this;
    static Mat3D copy;
    copy = *this;
    for (int j = 0; j < 3; ++j) {
        const double length = std::sqrt(squared[j] + 1e-21);
        for (int i = 0; i < 3; ++i)
            copy.r[i][j] /= length;
    }
    return copy;
}

double Mat3D::GetOmegaPhiKappa(double& omega, double& phi, double& kappa, char unit) const {
    const Mat3D& u = GetUniformCopy();
    double found = 0;
    if (r[2][0] == 0 && r[2][1] == 0 && r[2][2] > 0) {
        // A pure turn about z.
        omega = phi = 0;
        const double length = std::hypot(u.r[0][0], u.r[0][1]);
        const double g = length > 0 ? clampedAsin(u.r[0][1] / length) : 0;
        kappa = positiveAngle(u.r[0][0] < 0 ? g + _200rd : -g);
    } else {
        if (std::fabs(std::fabs(u.r[0][2]) - 1) < 1e-9) {
            phi = u.r[0][2] < 0 ? -_100rd : _100rd;
            omega = 0;
            kappa = clampedAsin(u.r[1][0]);
            if (u.r[1][1] < 0) kappa = _200rd - kappa;
        } else {
            phi = clampedAsin(u.r[0][2]);
            const double cp = std::cos(phi);
            omega = -clampedAsin(u.r[1][2] / cp);
            if (u.r[2][2] / cp < 0) omega = _200rd - omega;
            kappa = -clampedAsin(u.r[0][1] / cp);
            if (u.r[0][0] / cp < 0) kappa = _200rd - kappa;
        }
        kappa = positiveAngle(kappa);
        found = residual(MOmegaPhiKappa(omega, phi, kappa, 0), u);
    }
    scaleAngles(fromRadians(unit, true), omega, phi, kappa);
    return found;
}

double Mat3D::GetPhiOmegaKappa(double& phi, double& omega, double& kappa, char unit) const {
    const Mat3D& u = GetUniformCopy();
    omega = -clampedAsin(u.r[1][2]);
    const double co = std::cos(omega);
    phi = clampedAsin(u.r[0][2] / co);
    if (u.r[2][2] / co < 0) phi = __200rd - phi;
    kappa = clampedAsin(u.r[1][0] / co);
    if (u.r[1][1] / co < 0) kappa = __200rd - kappa;
    const double found = residual(MPhi(phi) * MOmega(omega) * MKappa(kappa), u);
    scaleAngles(fromRadians(unit, false), phi, omega, kappa);
    return found;
}

double Mat3D::GetKappaPhiOmega(double& kappa, double& phi, double& omega, char unit) const {
    const Mat3D& u = GetUniformCopy();
    phi = -clampedAsin(u.r[2][0]);
    const double cp = std::cos(phi);
    omega = clampedAsin(u.r[2][1] / cp);
    if (cp * u.r[2][2] < 0) omega = __200rd - omega;
    kappa = clampedAsin(u.r[1][0] / cp);
    if (cp * u.r[0][0] < 0) kappa = __200rd - kappa;
    const double found = residual(MKappa(kappa) * MPhi(phi) * MOmega(omega), u);
    scaleAngles(fromRadians(unit, false), kappa, phi, omega);
    return found;
}

double Mat3D::GetOriAvRCam(double& a, double& b, double& c, char unit) const {
    const Mat3D& u = GetUniformCopy();
    bool turnA;
    if (std::fabs(std::fabs(u.r[2][2]) - 1) < 1e-9) {
        b = 0;
        c = 0;
        a = clampedAsin(u.r[0][1]);
        if (u.r[2][2] > 0) {
            b = -_200rd;
            a = -a;
        }
        turnA = u.r[0][0] < 0;
    } else {
        const double angle = geometry::clampedAcos(u.r[2][2]);
        const double e = std::sin(angle);
        b = angle - _200rd;
        c = clampedAsin(u.r[2][0] / e);
        if (e * u.r[2][1] < 0) c = _200rd - c;
        a = clampedAsin(u.r[0][2] / e);
        turnA = e * u.r[1][2] > 0;
    }
    if (turnA) a = _200rd - a;
    c = positiveAngle(c);
    a = positiveAngle(a);
    const double found = residual(MOriAvRCam(a, b, c, 0), u);
    if (found > 1e-6) mprintf("\n**** Erreur GetOriAvRCam de %.6f ", found);
    scaleAngles(fromRadians(unit, false), a, b, c);
    return found;
}
