#pragma once
// The pieces of eclate held for the time of a computation and deleted with it.
#include "entity/core/poly_arc3d.h"

struct OwnedPieces {
    OwnedPieces() = default;
    ~OwnedPieces() {
        for (int i = 0; i < array.GetSize(); ++i)
            delete static_cast<CPolyArc3D*>(array[i]);
    }
    OwnedPieces(const OwnedPieces&) = delete;
    OwnedPieces& operator=(const OwnedPieces&) = delete;

    CPolyArc3D* operator[](int i) const { return static_cast<CPolyArc3D*>(array[i]); }
    int size() const { return array.GetSize(); }

    CPtrArray array;
};
