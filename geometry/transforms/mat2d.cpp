#include "geometry/transforms/mat2d.h"

#include "geometry/transforms/affine_detail.h"
#include "geometry/transforms/mat3d.h"
#include "services/output/output.h"

#include <cmath>

double Mat2D::m_PivotMini = 0.0;

Mat2D::Mat2D() {
    SetIDN();
}

Mat2D Mat2D::operator*(const Mat2D& other) const {
    Mat2D product;
    geometry::detail::compose(m, t, other.m, other.t, product.m, product.t);
    return product;
}

Mat2D Mat2D::operator*(double s) const {
    Mat2D scaled(*this);
    scaled *= s;
    scaled.t[0] *= s;
    scaled.t[1] *= s;
    return scaled;
}

Mat2D& Mat2D::operator*=(double s) {
    geometry::detail::scaleLinear(m, s);
    return *this;
}

void Mat2D::ApplyRot(CPoint3d* out, const CPoint3d* in) const {
    geometry::detail::rotate(m, in ? *in : *out, *out, false);
}

void Mat2D::ApplyRotInv(CPoint3d* out, const CPoint3d* in) const {
    geometry::detail::rotate(m, in ? *in : *out, *out, true);
}

void Mat2D::ApplyToPt(CPoint3d* out, const CPoint3d* in) const {
    ApplyRot(out, in);
    ApplyTrans(out);
}

void Mat2D::ApplyToPtInv(CPoint3d* out, const CPoint3d* in) const {
    const CPoint3d& p = in ? *in : *out;
    const double dx = p.x - t[0];
    const double dy = p.y - t[1];
    // The squared length of column 0 is the square of a uniform scale.
    const double s = m[0][0] * m[0][0] + m[1][0] * m[1][0];
    out->x = (m[0][0] * dx + m[1][0] * dy) / s;
    out->y = (m[0][1] * dx + m[1][1] * dy) / s;
}

void Mat2D::ApplyTrans(CPoint3d* out, const CPoint3d* in) const {
    const CPoint3d& p = in ? *in : *out;
    out->x = p.x + t[0];
    out->y = p.y + t[1];
}

double Mat2D::Determinant() const {
    return m[0][0] * m[1][1] - m[1][0] * m[0][1];
}

int Mat2D::Inverse() {
    return geometry::detail::invertFullPivot(m, t, m_PivotMini);
}

void Mat2D::SetIDN() {
    SetNul();
    m[0][0] = m[1][1] = 1;
}

void Mat2D::SetNul() {
    m[0][0] = m[0][1] = m[1][0] = m[1][1] = t[0] = t[1] = 0;
}

Mat2D Mat2D::MKappa(double a) {
    Mat2D r;
    r.m[0][0] = r.m[1][1] = std::cos(a);
    r.m[1][0] = std::sin(a);
    r.m[0][1] = -r.m[1][0];
    return r;
}

void Mat2D::Mprint() const {
    for (int i = 0; i < 2; ++i)
        mprintf("\n[NoLi]:%3d %+8e %+8e Tr=%+12.4f", i, m[i][0], m[i][1], t[i]);
    mprintf("\n");
}

double Mat2D::Dist2D(const double* v) {
    return v ? std::sqrt(v[0] * v[0] + v[1] * v[1]) : 0;
}

bool Mat2D::FromMat3D(const Mat3D& m3) {
    m[0][0] = m3.r[0][0];
    m[0][1] = m3.r[0][1];
    m[1][0] = m3.r[1][0];
    m[1][1] = m3.r[1][1];
    t[0] = m3.t[0];
    t[1] = m3.t[1];
    return m3.r[2][0] == 0 && m3.r[2][1] == 0;
}

bool Mat2D::SetFromPt1Pt2PtN1ptN2(const CPoint3d* p1, const CPoint3d* p2, const CPoint3d* q1,
                                  const CPoint3d* q2) {
    if (!p1 || !p2 || !q1 || !q2) return false;
    const double dx = p2->x - p1->x, dy = p2->y - p1->y;
    const double ex = q2->x - q1->x, ey = q2->y - q1->y;
    const double lengthSquared = dx * dx + dy * dy;
    if (!(lengthSquared > 0)) return false;
    m[0][0] = m[1][1] = (ex * dx + ey * dy) / lengthSquared;
    m[0][1] = (ex * dy - ey * dx) / lengthSquared;
    m[1][0] = -m[0][1];
    t[0] = q1->x - m[0][0] * p1->x - m[0][1] * p1->y;
    t[1] = q1->y - m[1][0] * p1->x - m[1][1] * p1->y;
    return true;
}
