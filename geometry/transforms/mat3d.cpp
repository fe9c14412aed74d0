#include "geometry/transforms/mat3d.h"

#include "geometry/transforms/affine_detail.h"
#include "services/output/output.h"

#include <cmath>
#include <utility>

double Mat3D::m_PivotMini = 0.0;

Mat3D::Mat3D() {
    SetIDN();
}

Mat3D::Mat3D(const Mat3D* m) {
    if (m)
        *this = *m;
    else
        SetIDN();
}

Mat3D Mat3D::operator*(const Mat3D& other) const {
    Mat3D product;
    geometry::detail::compose(r, t, other.r, other.t, product.r, product.t);
    return product;
}

Mat3D Mat3D::operator*(double s) const {
    Mat3D scaled(*this);
    return scaled *= s;
}

Mat3D& Mat3D::operator*=(double s) {
    geometry::detail::scaleLinear(r, s);
    return *this;
}

void Mat3D::ApplyRot(CPoint3d* out, const CPoint3d* in) const {
    geometry::detail::rotate(r, in ? *in : *out, *out, false);
}

void Mat3D::ApplyRotInv(CPoint3d* out, const CPoint3d* in) const {
    geometry::detail::rotate(r, in ? *in : *out, *out, true);
}

void Mat3D::ApplyToPt(CPoint3d* out, const CPoint3d* in) const {
    ApplyRot(out, in);
    ApplyTrans(out);
}

void Mat3D::ApplyToPtInv(CPoint3d* out, const CPoint3d* in) const {
    const CPoint3d& p = in ? *in : *out;
    geometry::detail::rotate(r, CPoint3d(p.x - t[0], p.y - t[1], p.z - t[2]), *out, true);
    // The squared length of row 0 is the square of a uniform scale.
    const double s = r[0][0] * r[0][0] + r[0][1] * r[0][1] + r[0][2] * r[0][2];
    if (s > 0 && s != 1) *out /= s;
}

void Mat3D::ApplyTrans(CPoint3d* out, const CPoint3d* in) const {
    const CPoint3d& p = in ? *in : *out;
    out->set(p.x + t[0], p.y + t[1], p.z + t[2]);
}

void Mat3D::ApplyToPt2D(CPoint3d* out, const CPoint3d* in) const {
    const CPoint3d& p = in ? *in : *out;
    const double x = r[0][0] * p.x + r[0][1] * p.y + t[0];
    const double y = r[1][0] * p.x + r[1][1] * p.y + t[1];
    out->x = x;
    out->y = y;
}

double Mat3D::Determinant() const {
    return r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) +
           r[1][0] * (r[2][1] * r[0][2] - r[0][1] * r[2][2]) +
           r[2][0] * (r[0][1] * r[1][2] - r[1][1] * r[0][2]);
}

int Mat3D::Inverse() {
    return geometry::detail::invertFullPivot(r, t, m_PivotMini);
}

int Mat3D::InvBySwap() {
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
            std::swap(r[i][j], r[j][i]);
    return 0;
}

void Mat3D::SetIDN() {
    SetNul();
    r[0][0] = r[1][1] = r[2][2] = 1;
}

void Mat3D::SetNul() {
    for (auto& row : r)
        for (double& value : row)
            value = 0;
    t[0] = t[1] = t[2] = 0;
}

void Mat3D::Mprint() const {
    for (int i = 0; i < 3; ++i)
        mprintf("\n[NoLi]:%3d %+12e %+12e %+12e Tr=%+14.4f", i, r[i][0], r[i][1], r[i][2], t[i]);
    mprintf("\n");
}

double Mat3D::Dist3D(const double* v) {
    return v ? std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]) : 0;
}

bool Mat3D::crossProduct(const double* a, const double* b, double* out) {
    if (!a || !b || !out) return false;
    const double x = a[1] * b[2] - a[2] * b[1];
    const double y = a[2] * b[0] - a[0] * b[2];
    const double z = a[0] * b[1] - a[1] * b[0];
    out[0] = x;
    out[1] = y;
    out[2] = z;
    return true;
}
