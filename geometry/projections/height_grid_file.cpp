// Reading a height grid (".MNT"): the header, then either one node per line ("lat lon value n") or a stream
// of node records from the northern row down.
#include "geometry/points/angle_units.h"
#include "geometry/projections/alti_convert.h"
#include "geometry/projections/data_files.h"
#include "geometry/projections/mnt_header.h"
#include "geometry/projections/number_scanner.h"
#include "geometry/projections/owned_array.h"
#include "services/dos/dos.h"
#include "services/output/message_boxes.h"
#include "services/output/output.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace geometry::projections;

namespace {

constexpr std::size_t kMaxNumberLength = 99;
constexpr int kMaxSkippedNumbers = 1000;

OncePerProcessBox missingHeightGridBox;

struct HeightGrid {
    MntHeader header;
    int columns = 0;
    int rows = 0;
    std::vector<std::int32_t> values; // row by row from the southern row

    std::int32_t& at(int column, int row) { return values[static_cast<std::size_t>(row) * columns + column]; }
};

// Millimetres rounded to nearest; false when they do not fit 32 bits.
bool toMillimetres(double metres, std::int32_t& out) {
    const double mm = std::round(metres * 1000);
    if (!(std::fabs(mm) <= std::numeric_limits<std::int32_t>::max())) return false;
    out = static_cast<std::int32_t>(mm);
    return true;
}

bool readNodePerLine(std::FILE* file, HeightGrid& grid) {
    const MntHeader& h = grid.header;
    std::string line;
    while (readLine(file, line)) {
        double n[3];
        if (NumberScanner(line).reals(n, 3, ' ') != 3) continue;
        const double row = std::floor((n[0] - h.latMin + h.latStep / 10) / h.latStep);
        const double column = std::floor((n[1] - h.lonMin + h.lonStep / 10) / h.lonStep);
        if (!(row >= 0 && row < grid.rows && column >= 0 && column < grid.columns)) continue;
        if (!toMillimetres(n[2], grid.at(static_cast<int>(column), static_cast<int>(row)))) return false;
    }
    return true;
}

std::string lineText(int line) {
    return "ligne " + std::to_string(line);
}

// A stream that ends before the grid is full, or a word that is no number, would leave the rest of the grid
// at 0 and every height converted by it wrong: the grid is refused, `fault` telling where and why.
bool readStream(std::FILE* file, HeightGrid& grid, std::string& fault) {
    const int skipped = grid.header.k[2] - (grid.header.k[3] == 0 ? 1 : 0) + 1;
    if (skipped < 0 || skipped > kMaxSkippedNumbers) return false;
    WordReader words(file, kMaxNumberLength, 2);
    std::string word;
    double value = 0;
    // False at the end of the file (`fault` left empty) or for a word that is no number.
    const auto next = [&] {
        const WordReader::Result result = words.next(word);
        if (result == WordReader::Result::TooLong) {
            fault = lineText(words.line()) + " : mot de plus de " + std::to_string(kMaxNumberLength) +
                    " caract\xe8res";
            return false;
        }
        if (result == WordReader::Result::End) return false;
        NumberScanner scan(word);
        if (scan.real(value) && !scan.more()) return true;
        fault = lineText(words.line()) + " : \"" + word + "\" n'est pas un nombre";
        return false;
    };
    const std::size_t nodes = grid.values.size();
    std::size_t read = 0;
    const auto truncated = [&] {
        if (fault.empty())
            fault = lineText(words.line()) + " : fin du fichier apr\xe8s " + std::to_string(read) +
                    " valeurs sur " + std::to_string(nodes);
        return false;
    };
    for (int row = grid.rows - 1; row >= 0; --row)
        for (int column = 0; column < grid.columns; ++column) {
            if (!next()) return truncated();
            if (!toMillimetres(value, grid.at(column, row))) {
                fault = lineText(words.line()) + " : valeur " + word + " hors limites";
                return false;
            }
            ++read;
            // The numbers that close the last record may be missing: the grid is full.
            for (int k = 0; k < skipped; ++k)
                if (!next()) return read == nodes && fault.empty() ? true : truncated();
        }
    return true;
}

bool readGrid(std::FILE* file, HeightGrid& grid, std::string& fault) {
    std::string line;
    MntHeader& h = grid.header;
    if (!readLine(file, line) || !h.read(line) || !h.conforms()) return false;
    grid.columns = nodeCount((h.lonMax - h.lonMin + 0.0001) / h.lonStep);
    grid.rows = nodeCount((h.latMax - h.latMin + 0.0001) / h.latStep);
    if (grid.columns < 0 || grid.rows < 0) return false;
    ++grid.columns;
    ++grid.rows;
    if (double(grid.columns) * grid.rows > kMaxGridNodes) return false;
    grid.values.assign(static_cast<std::size_t>(grid.columns) * static_cast<std::size_t>(grid.rows), 0);
    return h.k[1] != 0 ? readNodePerLine(file, grid) : readStream(file, grid, fault);
}

} // namespace

int AltiConvert::LoadGRID() {
    if (values) return 1;
    if (!fileName || !*fileName) return 0;
    std::string path = fileName;
    DataFile file;
    if (path.find('\\') != std::string::npos) file = openForReading(path);
    if (!file) {
        path = localIniPath(DOS::GetPName(fileName, "NE"));
        file = openForReading(path);
    }
    if (!file) {
        const std::string text = std::string("\nImpossible d'ouvrir Fichier GRILLE:") + fileName;
        mprint(text.c_str(), 0);
        missingHeightGridBox.show(text.c_str() + 1);
        return 0;
    }
    if (!hasMntExtension(path)) return 2;
    HeightGrid grid;
    std::string fault;
    if (!readGrid(file.get(), grid, fault)) {
        reportNonConforming(path, fault);
        return 0;
    }
    values = ownedCopy(grid.values.data(), grid.values.size());
    columns = grid.columns;
    rows = grid.rows;
    lonOrigin = grid.header.lonMin * degre_en_radian;
    latOrigin = grid.header.latMin * degre_en_radian;
    lonStep = grid.header.lonStep * degre_en_radian;
    latStep = grid.header.latStep * degre_en_radian;
    return 2;
}
