#include "geometry/points/point3d_array.h"

#include "geometry/points/areas.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>

namespace {

std::size_t bytesFor(int n) {
    return static_cast<std::size_t>(n) * sizeof(CPoint3d);
}

} // namespace

CPoint3dArray::CPoint3dArray(int n, int growBy) : data(nullptr), physical(0), logical(0), grow(growBy) {
    if (n > 0) reallocate(n);
}

CPoint3dArray::CPoint3dArray(const CPoint3dArray& other)
    : data(nullptr), physical(0), logical(0), grow(other.grow) {
    if (other.physical > 0 && reallocate(other.physical)) {
        std::memcpy(data, other.data, bytesFor(other.physical));
        logical = other.logical;
    }
}

CPoint3dArray& CPoint3dArray::operator=(const CPoint3dArray& other) {
    CPoint3dArray copy(other);
    std::swap(data, copy.data);
    std::swap(physical, copy.physical);
    std::swap(logical, copy.logical);
    std::swap(grow, copy.grow);
    return *this;
}

CPoint3dArray::~CPoint3dArray() {
    std::free(data);
}

bool CPoint3dArray::reallocate(int n) {
    if (n <= 0) {
        std::free(data);
        data = nullptr;
        physical = 0;
        return true;
    }
    // realloc keeps the old block when it fails: the array stays as it was.
    void* block = std::realloc(data, bytesFor(n));
    if (!block) return false;
    data = static_cast<CPoint3d*>(block);
    physical = n;
    return true;
}

bool CPoint3dArray::setLogicalLength(int n) {
    n = std::max(n, 0);
    if (n > physical) {
        const long long stepped = static_cast<long long>(physical) + std::max(grow, physical / 4);
        const long long target = std::clamp<long long>(stepped, n, INT_MAX);
        if (!reallocate(static_cast<int>(target))) return false;
        if (n > logical) std::fill(data + logical, data + n, CPoint3d());
    }
    logical = n;
    return true;
}

bool CPoint3dArray::setPhysicalLength(int n) {
    n = std::max(n, 0);
    if (n == physical) return true;
    if (!reallocate(n)) return false;
    logical = std::min(logical, physical);
    return true;
}

int CPoint3dArray::append(const CPoint3d& p) {
    const int index = logical;
    return insertAt(index, p) ? index : -1;
}

int CPoint3dArray::append(const CPoint3d* pts, int n) {
    if (n <= 0) return 0;
    if (n > INT_MAX - logical) return -1;
    const int needed = logical + n;
    // The block may come from this very array, whose storage moves when it grows.
    const bool own = data && !std::less<const CPoint3d*>()(pts, data) &&
                     std::less<const CPoint3d*>()(pts, data + physical);
    const std::ptrdiff_t offset = own ? pts - data : 0;
    if (needed > physical && !reallocate(needed)) return -1;
    if (own) pts = data + offset;
    std::memmove(data + logical, pts, bytesFor(n));
    logical = needed;
    return logical;
}

int CPoint3dArray::append(const CPoint3dArray& other) {
    return other.isEmpty() ? logical : append(other.data, other.logical);
}

bool CPoint3dArray::insertAt(int i, const CPoint3d& p) {
    const CPoint3d copy = p; // p may live in the storage that is about to move
    const int oldLength = logical;
    if (oldLength == INT_MAX || !setLogicalLength(oldLength + 1)) return false;
    std::memmove(data + i + 1, data + i, bytesFor(oldLength - i));
    data[i] = copy;
    return true;
}

void CPoint3dArray::removeAt(int i) {
    if (i + 1 < logical) std::memmove(data + i, data + i + 1, bytesFor(logical - i - 1));
    removeLast();
}

void CPoint3dArray::removeLast() {
    if (logical > 0) --logical;
}

int CPoint3dArray::findFrom(const CPoint3d& p, int flags) const {
    const bool selective = flags >= kIgnoreX;
    const bool compareX = !selective || !(flags & kIgnoreX);
    const bool compareY = !selective || !(flags & kIgnoreY);
    const bool compareZ = !selective || !(flags & kIgnoreZ);
    for (int i = flags & 0xFFFFFF; i < logical; ++i) {
        const CPoint3d& q = data[i];
        if ((!compareX || q.x == p.x) && (!compareY || q.y == p.y) && (!compareZ || q.z == p.z)) return i;
    }
    return -1;
}

bool CPoint3dArray::remove(const CPoint3d& p, int flags) {
    const int i = findFrom(p, flags);
    if (i < 0) return false;
    removeAt(i);
    return true;
}

double CPoint3dArray::getArea() const {
    return SurfacePoint3d(data, logical);
}
