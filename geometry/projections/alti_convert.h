#pragma once
// AltiConvert: one height grid (separation between ellipsoidal heights and altitudes), read lazily from a
// ".MNT" file of the local folder's "INI\" and kept in the process-wide list `g_FirstAltiConvert`.
#include "geometry/points/point3d.h"

#include <cstddef>
#include <cstdint>

class AltiConvert {
public:
    AltiConvert* next = nullptr;
    char* fileName = nullptr;       // owned
    std::int32_t* values = nullptr; // owned; millimetres, row by row from the southern row
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    double lonOrigin = 0; // radians
    double latOrigin = 0;
    double lonStep = 0;
    double latStep = 0;

    static AltiConvert* g_FirstAltiConvert;

    // Zero-filled, not linked.
    AltiConvert() = default;
    // A copy owns copies of the name and the grid and is not linked.
    AltiConvert(const AltiConvert& other);
    AltiConvert& operator=(const AltiConvert& other);
    // Frees the name and the grid and unlinks the record.
    ~AltiConvert();

    // The record of that file name (case ignored); when none, null, or with `create` a new record at the
    // head of the list.
    static AltiConvert* FindAltiConvert(const char* name, int create);
    // 1 loaded already, 2 loaded now, 0 no name or failure.
    int LoadGRID();
    // The height plus the grid value at the geographic point (radians) for a non-zero direction, minus it for
    // direction 0; unchanged when there is no grid or the point is outside it.
    double Convert(double height, const CPoint3d& geo, int direction);
    // Convert in place; false, with the height untouched, when there is no grid or the point lies outside
    // it. The nodes of the last column and row are inside.
    bool convertInside(double& height, const CPoint3d& geo, int direction);
    // Destroys one record (1), or with null every record of the list (their count).
    static int RemoveAltiConvert(AltiConvert* record);

    // The mark that `CtesProj::TransformTo` takes for "no grid step on this side".
    static AltiConvert* NoStep() { return reinterpret_cast<AltiConvert*>(std::uintptr_t{1}); }

private:
    void copyFrom(const AltiConvert& other);
    void freeGrid();
    void unlink();
};

// The record lives inside one process: its three pointers take the native width (64 bytes in the 64-bit
// build, 52 in the 32-bit one).
constexpr std::size_t kAltiPointers = 3 * sizeof(void*);
static_assert(sizeof(AltiConvert) == kAltiPointers + 40);
static_assert(offsetof(AltiConvert, fileName) == sizeof(void*) &&
              offsetof(AltiConvert, values) == 2 * sizeof(void*));
static_assert(offsetof(AltiConvert, columns) == kAltiPointers &&
              offsetof(AltiConvert, rows) == kAltiPointers + 4);
static_assert(offsetof(AltiConvert, lonOrigin) == kAltiPointers + 8 &&
              offsetof(AltiConvert, latStep) == kAltiPointers + 32);
