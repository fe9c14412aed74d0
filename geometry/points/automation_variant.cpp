#include "geometry/points/automation_variant.h"

#include <cstdlib>
#include <new>

SAFEARRAY* SafeArrayCreate(VARTYPE type, unsigned dims, const SAFEARRAYBOUND* bounds) {
    if (type != VT_R8 || dims != 1 || !bounds) return nullptr;
    auto* array = new (std::nothrow) SAFEARRAY{1, 0, sizeof(double), 0, nullptr, {bounds[0]}};
    if (!array) return nullptr;
    array->pvData = std::calloc(bounds[0].cElements ? bounds[0].cElements : 1, sizeof(double));
    if (!array->pvData) {
        delete array;
        return nullptr;
    }
    return array;
}

void SafeArrayDestroy(SAFEARRAY* array) {
    if (!array) return;
    std::free(array->pvData);
    delete array;
}

void VariantInit(VARIANT* v) {
    *v = VARIANT{};
}

void VariantClear(VARIANT* v) {
    if (v->vt & VT_ARRAY) SafeArrayDestroy(v->parray);
    VariantInit(v);
}
