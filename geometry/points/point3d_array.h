#pragma once
// CPoint3dArray: a growable array of points with a logical length (points in use) and a physical length
// (points allocated). The plug-in holds these arrays itself, so the layout is fixed.
//
// A failed allocation leaves the array as it was and is reported by the result of the growing call.
// Indexes outside the array are the caller's to avoid: nothing is checked.
#include "geometry/points/point3d.h"

#include <cstddef>

class CPoint3dArray {
public:
    // Search flags of findFrom above the start index: leave x, y or z out of the comparison.
    static constexpr int kIgnoreX = 0x10000000;
    static constexpr int kIgnoreY = 0x20000000;
    static constexpr int kIgnoreZ = 0x40000000;

    // n points allocated (none when the allocation fails), none in use.
    explicit CPoint3dArray(int n = 0, int growBy = 8);
    CPoint3dArray(const CPoint3dArray& other);
    CPoint3dArray& operator=(const CPoint3dArray& other);
    ~CPoint3dArray();

    CPoint3d& at(int i) { return data[i]; }
    const CPoint3d& at(int i) const { return data[i]; }
    CPoint3d& operator[](int i) { return data[i]; }
    const CPoint3d& operator[](int i) const { return data[i]; }
    CPoint3d* first() { return data; }
    const CPoint3d* first() const { return data; }
    CPoint3d* asArrayPtr() { return data; }
    const CPoint3d* asArrayPtr() const { return data; }
    CPoint3d& last() { return data[logical - 1]; }

    int logicalLength() const { return logical; }
    int length() const { return logical; }
    int physicalLength() const { return physical; }
    int growLength() const { return grow; }
    bool isEmpty() const { return logical == 0; }

    void setGrowLength(int n) { grow = n; }
    // Grows the storage when needed by the growth step (or a quarter of the storage when that is more),
    // zero-filling the new points; false, with nothing changed, when the storage cannot grow.
    bool setLogicalLength(int n);
    // Reallocates to exactly n points (0 frees them), cutting the logical length; false, with nothing
    // changed, when the allocation fails.
    bool setPhysicalLength(int n);

    // Index of the new point, or -1 when the storage cannot grow.
    int append(const CPoint3d& p);
    // The new logical length; 0 for n <= 0, -1 when the storage cannot grow.
    int append(const CPoint3d* pts, int n);
    int append(const CPoint3dArray& other);
    // false when the storage cannot grow.
    bool insertAt(int i, const CPoint3d& p);
    void setAt(int i, const CPoint3d& p) { data[i] = p; }
    void removeAt(int i);
    void removeFirst() { removeAt(0); }
    void removeLast();
    void removeAll() { setLogicalLength(0); }

    // First index from (flags & 0xFFFFFF) on whose point equals p on the coordinates the flags keep; -1.
    int findFrom(const CPoint3d& p, int flags = 0) const;
    bool contains(const CPoint3d& p, int flags = 0) const { return findFrom(p, flags) != -1; }
    bool remove(const CPoint3d& p, int flags = 0);

    // Signed plan area of the points as a ring (SurfacePoint3d).
    double getArea() const;

    CPoint3d* data; // heap storage of `physical` points
    int physical;
    int logical;
    int grow;

protected:
    bool isValid(int i) const { return i >= 0 && i < logical; }

private:
    // Reallocates to n points; false, keeping the old storage, when that fails.
    bool reallocate(int n);
};

// The array lives inside one process: its data pointer takes the native width (24 bytes in the 64-bit build,
// 16 in the 32-bit one).
static_assert(sizeof(CPoint3dArray) == (sizeof(void*) == 8 ? 24 : 16));
static_assert(offsetof(CPoint3dArray, data) == 0 && offsetof(CPoint3dArray, physical) == sizeof(void*));
static_assert(offsetof(CPoint3dArray, logical) == sizeof(void*) + 4 &&
              offsetof(CPoint3dArray, grow) == sizeof(void*) + 8);
