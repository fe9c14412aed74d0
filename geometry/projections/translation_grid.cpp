// The translation grid of an ellipsoid: read on first use from a ".MNT" grid or a "GR3D1" text grid, and
// interpolated bilinearly. Nodes hold the translation minus the ellipsoid's default, in whole millimetres.
#include "geometry/points/angle_units.h"
#include "geometry/projections/data_files.h"
#include "geometry/projections/ellipsoide.h"
#include "geometry/projections/mnt_header.h"
#include "geometry/projections/number_scanner.h"
#include "geometry/projections/owned_array.h"
#include "services/output/output.h"
#include "services/str/str.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

using namespace geometry::projections;

namespace {

enum Result { NotConforming = 0, DefaultTranslation = 1, NoGrid = 2, Interpolated = 3 };

constexpr std::size_t kMaxNumberLength = 99;
constexpr int kMaxRecordLength = 1000;
constexpr std::size_t kMinNodeLineLength = 65;

struct Grid {
    double lonMin = 0, lonStep = 0, latMin = 0, latStep = 0;
    int columns = 0, rows = 0;
    std::vector<std::int16_t> values; // column by column, three per node

    bool make(double lonMax, double latMax, double lonStepIn, double latStepIn) {
        lonStep = lonStepIn;
        latStep = latStepIn;
        columns = nodeCount((lonMax - lonMin) / lonStep + 1.5);
        rows = nodeCount((latMax - latMin) / latStep + 1.5);
        if (columns < 3 || rows < 3 || double(columns) * rows > kMaxGridNodes) return false;
        values.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows) * 3, 0);
        return true;
    }
    std::int16_t* node(int i, int j) { return &values[(static_cast<std::size_t>(i) * rows + j) * 3]; }
};

// The offset from the default in millimetres, rounded to nearest; false when it does not fit 16 bits.
bool toMillimetres(double value, double byDefault, std::int16_t& out) {
    const double mm = std::round((value - byDefault) * 1000);
    if (!(std::fabs(mm) <= std::numeric_limits<std::int16_t>::max())) return false;
    out = static_cast<std::int16_t>(mm);
    return true;
}

bool setNode(std::int16_t* node, const double* translation, const Ellipsoide& ellipsoid) {
    return toMillimetres(translation[0], ellipsoid.tx, node[0]) &&
           toMillimetres(translation[1], ellipsoid.ty, node[1]) &&
           toMillimetres(translation[2], ellipsoid.tz, node[2]);
}

bool readNumber(std::FILE* file, double& value) {
    std::string word;
    if (!readWord(file, word, kMaxNumberLength)) return false;
    NumberScanner scan(word);
    return scan.real(value) && !scan.more();
}

// A ".MNT" grid: its header, then q1 + q2 numbers per node, column by column from the southern row up.
Result readMntGrid(std::FILE* file, const Ellipsoide& ellipsoid, Grid& grid) {
    std::string line;
    MntHeader header;
    if (!readLine(file, line) || !header.read(line) || !header.conforms()) return NotConforming;
    const int q1 = header.k[2];
    const int q2 = header.k[3];
    grid.lonMin = header.lonMin;
    grid.latMin = header.latMin;
    if (q1 < 3 || q2 < 0 || q1 + q2 > kMaxRecordLength ||
        !grid.make(header.lonMax, header.latMax, header.lonStep, header.latStep))
        return NotConforming;
    std::vector<double> record(static_cast<std::size_t>(q1 + q2));
    for (int i = 0; i < grid.columns; ++i)
        for (int j = 0; j < grid.rows; ++j) {
            for (double& value : record)
                if (!readNumber(file, value)) return NotConforming;
            if (!setNode(grid.node(i, j), record.data(), ellipsoid)) return NotConforming;
        }
    return Interpolated;
}

// A "GR3D1" text grid: a header line, then one line per node "nnnnn lon lat tx ty tz ...".
Result readTextGrid(std::FILE* file, const Ellipsoide& ellipsoid, Grid& grid) {
    std::string line;
    bool made = false;
    while (readLine(file, line)) {
        STR::Espace(line.data());
        line.resize(std::strlen(line.c_str()));
        if (line.compare(0, 5, "GR3D1") == 0) {
            double h[6];
            if (NumberScanner(std::string_view(line).substr(5)).reals(h, 6, ' ') != 6) continue;
            if (h[5] == 0 || h[4] == 0) return DefaultTranslation; // no step, no grid
            grid.lonMin = h[0];
            grid.latMin = h[2];
            if (!std::isfinite(h[0]) || !std::isfinite(h[2])) continue;
            made = grid.make(h[1], h[3], h[4], h[5]);
            continue;
        }
        if (!made || line.size() < kMinNodeLineLength) continue;
        double n[5];
        if (NumberScanner(std::string_view(line).substr(5)).reals(n, 5, ' ') != 5) continue;
        const double column = std::floor((n[0] - grid.lonMin) / grid.lonStep + 0.5);
        const double row = std::floor((n[1] - grid.latMin) / grid.latStep + 0.5);
        if (!(column >= 0 && column < grid.columns && row >= 0 && row < grid.rows)) continue;
        if (!setNode(grid.node(static_cast<int>(column), static_cast<int>(row)), n + 2, ellipsoid))
            return NotConforming;
    }
    return made ? Interpolated : NoGrid;
}

} // namespace

int Ellipsoide::GetTranslat(const CPoint3d& geo, CPoint3d& translation) {
    translation.set(tx, ty, tz);
    if (!gridFile[0]) return DefaultTranslation;
    if (!grid) {
        const std::string name(gridFile, strnlen(gridFile, sizeof gridFile));
        const std::string path = localIniPath(name);
        const DataFile file = openForReading(path);
        if (!file) {
            mprintf("\nImpossible d'ouvrir Fichier GRILLE:%s", name.c_str());
            return DefaultTranslation;
        }
        Grid read;
        const Result result = hasMntExtension(name) ? readMntGrid(file.get(), *this, read)
                                                    : readTextGrid(file.get(), *this, read);
        if (result == NotConforming) reportNonConforming(name);
        if (result != Interpolated) return result;
        lonOrigin = read.lonMin;
        lonStep = read.lonStep;
        columns = read.columns;
        latOrigin = read.latMin;
        latStep = read.latStep;
        rows = read.rows;
        grid = ownedCopy(read.values.data(), read.values.size());
    }
    const double u = (geo.x * radian_en_degre - lonOrigin) / lonStep;
    const double v = (geo.y * radian_en_degre - latOrigin) / latStep;
    const int i = cellIndex(u);
    const int j = cellIndex(v);
    if (i < 0 || j < 0 || i + 1 >= columns || j + 1 >= rows) return DefaultTranslation;
    const double fx = u - i;
    const double fy = v - j;
    const auto value = [this](int column, int row, int k) {
        return static_cast<double>(grid[(static_cast<std::size_t>(column) * rows + row) * 3 + k]);
    };
    for (int k = 0; k < 3; ++k) {
        const double west = value(i, j, k) + (value(i, j + 1, k) - value(i, j, k)) * fy;
        const double east = value(i + 1, j, k) + (value(i + 1, j + 1, k) - value(i + 1, j, k)) * fy;
        translation[k] += (west + (east - west) * fx) / 1000;
    }
    return Interpolated;
}
