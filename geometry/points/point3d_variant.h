#pragma once
// CPoint3dVariant: one point carried across automation interfaces as a VARIANT of type VT_ARRAY | VT_R8
// (8197) holding three doubles with lower bound 0. The object is the VARIANT itself.
#include "geometry/points/automation_variant.h"
#include "geometry/points/point3d.h"

class CPoint3dVariant : public VARIANT {
public:
    // The bound every point array is created with: 3 elements from 0.
    static const SAFEARRAYBOUND rgsaBound;

    // A zero point; on allocation failure the variant is left empty (VT_EMPTY) and the point accessors
    // must not be used.
    CPoint3dVariant();
    ~CPoint3dVariant();
    // The array is owned: copying would free it twice.
    CPoint3dVariant(const CPoint3dVariant&) = delete;
    CPoint3dVariant& operator=(const CPoint3dVariant&) = delete;

    // False when the array could not be made.
    bool isValid() const { return vt == (VT_ARRAY | VT_R8) && parray; }

    double& operator[](int i) { return asCPoint3d()[i]; }
    // The array's three doubles as a point.
    CPoint3d& asCPoint3d() { return *static_cast<CPoint3d*>(parray->pvData); }
    operator double*() { return &asCPoint3d().x; }
    operator VARIANT*() { return this; }
};

static_assert(sizeof(CPoint3dVariant) == sizeof(VARIANT));
