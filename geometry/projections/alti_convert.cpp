// Height grids: the process-wide list of AltiConvert records and the bilinear conversion.
#include "geometry/projections/alti_convert.h"

#include "geometry/projections/owned_array.h"
#include "platform/base/ascii.h"

#include <algorithm>
#include <cmath>
#include <string_view>

AltiConvert* AltiConvert::g_FirstAltiConvert = nullptr;

AltiConvert::AltiConvert(const AltiConvert& other) {
    copyFrom(other);
}

AltiConvert& AltiConvert::operator=(const AltiConvert& other) {
    if (this != &other) {
        freeGrid();
        delete[] fileName;
        fileName = nullptr;
        copyFrom(other);
    }
    return *this;
}

// Every field but the link; the name and the grid are duplicated so that each record frees only its own.
void AltiConvert::copyFrom(const AltiConvert& other) {
    columns = other.columns;
    rows = other.rows;
    lonOrigin = other.lonOrigin;
    latOrigin = other.latOrigin;
    lonStep = other.lonStep;
    latStep = other.latStep;
    fileName = geometry::projections::ownedCopy(other.fileName);
    values = geometry::projections::ownedCopy(other.values, static_cast<std::size_t>(columns) *
                                                                static_cast<std::size_t>(rows));
}

AltiConvert::~AltiConvert() {
    unlink();
    freeGrid();
    delete[] fileName;
}

void AltiConvert::freeGrid() {
    delete[] values;
    values = nullptr;
}

void AltiConvert::unlink() {
    if (g_FirstAltiConvert == this) g_FirstAltiConvert = next;
    for (AltiConvert* record = g_FirstAltiConvert; record; record = record->next)
        if (record->next == this) {
            record->next = next;
            break;
        }
    next = nullptr;
}

AltiConvert* AltiConvert::FindAltiConvert(const char* name, int create) {
    if (!name) return nullptr;
    for (AltiConvert* record = g_FirstAltiConvert; record; record = record->next)
        if (record->fileName && platform::sameNoCase(record->fileName, name)) return record;
    if (!create) return nullptr;
    AltiConvert* record = new AltiConvert();
    record->fileName = geometry::projections::ownedCopy(name);
    record->next = g_FirstAltiConvert;
    g_FirstAltiConvert = record;
    return record;
}

int AltiConvert::RemoveAltiConvert(AltiConvert* record) {
    if (record) {
        delete record;
        return 1;
    }
    int removed = 0;
    for (; g_FirstAltiConvert; ++removed)
        delete g_FirstAltiConvert;
    return removed;
}

double AltiConvert::Convert(double height, const CPoint3d& geo, int direction) {
    convertInside(height, geo, direction);
    return height;
}

bool AltiConvert::convertInside(double& height, const CPoint3d& geo, int direction) {
    if (!LoadGRID() || !values || columns < 2 || rows < 2) return false;
    double u = (geo.x - lonOrigin) / lonStep;
    double v = (geo.y - latOrigin) / latStep;
    // Radians do not divide into whole steps exactly: a point a rounding past an edge node is on it.
    constexpr double kEdgeSlack = 1e-9;
    if (!(u >= -kEdgeSlack && u <= columns - 1 + kEdgeSlack && v >= -kEdgeSlack &&
          v <= rows - 1 + kEdgeSlack))
        return false;
    u = std::clamp(u, 0.0, columns - 1.0);
    v = std::clamp(v, 0.0, rows - 1.0);
    // A point on the last column or row is the far side of the cell before it.
    const int i = std::min(static_cast<int>(u), columns - 2);
    const int j = std::min(static_cast<int>(v), rows - 2);
    const double fx = u - i;
    const double fy = v - j;
    const auto value = [this](int column, int row) {
        return static_cast<double>(values[column + static_cast<std::size_t>(row) * columns]);
    };
    const double separation = ((value(i + 1, j) * fx + value(i, j) * (1 - fx)) * (1 - fy) +
                               (value(i + 1, j + 1) * fx + value(i, j + 1) * (1 - fx)) * fy) /
                              1000;
    height = direction ? height + separation : height - separation;
    return true;
}
