#include "geometry/points/point3d_variant.h"

const SAFEARRAYBOUND CPoint3dVariant::rgsaBound = {3, 0};

CPoint3dVariant::CPoint3dVariant() : VARIANT{} {
    parray = SafeArrayCreate(VT_R8, 1, &rgsaBound);
    if (parray) vt = VT_ARRAY | VT_R8;
}

CPoint3dVariant::~CPoint3dVariant() {
    VariantClear(this);
}
