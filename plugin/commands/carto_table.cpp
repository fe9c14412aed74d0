// ZOR_SDNC: the symbols of a cartographic table placed along the polylines of each linetype it names. The
// table is a text file "NAME.carto" of the install folder (or of the local folder's "TABLES"); its lines
// "LC,LINETYPE,...{CARTO!*I=...}" give the symbol style of a linetype.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cadutil/command_line/selection.h"
#include "cadutil/database/linetypes.h"
#include "cadutil/database/spaces.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_classes.h"
#include "entity/drawing/cartographic_styles.h"
#include "host/input/prompts.h"
#include "platform/files/path_map.h"
#include "plugin/app/command_handlers.h"
#include "services/settings/folders.h"
#include "services/str/str.h"

namespace {

constexpr const char* kPolylineTypes = "0=TAVROPOLY,ZORTAPOLY,POLYLINE,LWPOLYLINE";
constexpr std::size_t kLongestLinetypeName = 200;

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The first file of `folder` (system grammar) named `name` or `name` followed by an extension, in name order:
// what a search for "name.*" finds, the file without a further extension included.
std::string firstMatch(const std::string& folder, const std::string& name) {
    std::error_code ec;
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(platform::hostPath(folder), ec)) {
        const std::string file = entry.path().filename().string();
        if (!entry.is_regular_file(ec)) continue;
        if (sameIgnoringCase(file, name) || (file.size() > name.size() + 1 && file[name.size()] == '.' &&
                                             sameIgnoringCase(file.substr(0, name.size()), name)))
            found.push_back(file);
    }
    if (found.empty()) return "";
    std::sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
        });
    });
    return platform::hostPath(folder + found.front());
}

std::string trimmed(std::string text) {
    STR::Espace(text.data());
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

struct CartoLine {
    std::string linetype;
    std::string style;
};

// A line "LC,NAME,...{CARTO!STYLE}...": its linetype name and style; false for any other line.
bool readCartoLine(const std::string& line, CartoLine& carto) {
    const std::size_t marker = line.find("{CARTO!");
    if (line.compare(0, 3, "LC,") != 0 || marker == std::string::npos) return false;
    std::size_t at = 3;
    while (at < line.size() && line[at] == ' ')
        ++at;
    carto.linetype.clear();
    for (; at < line.size() && carto.linetype.size() < kLongestLinetypeName; ++at) {
        const unsigned char c = line[at];
        if (c == '{' || c == ',' || c <= ' ' || c > 0x7E) break;
        carto.linetype += static_cast<char>(c);
    }
    const std::size_t start = marker + 7;
    carto.style = trimmed(line.substr(start, line.find('}', start) - start));
    return !carto.linetype.empty();
}

struct Selected {
    AcDbObjectId id;
    AcDbObjectId linetype;
};

// The polylines chosen (all of the drawing on Enter), each with its linetype; false when none.
bool selectPolylines(std::vector<Selected>& selected) {
    ads_name ss = {0, 0};
    int n = ssgetFilter(kPolylineTypes, ss, "Entit\xe9s \xe0 traiter ([ENTER] si toutes) : ");
    if (n == RTERROR) n = ssgetFilter((std::string("X;") + kPolylineTypes).c_str(), ss, nullptr);
    if (n <= 0) return false;
    AcDbObjectIdArray ids;
    ssToIds(ss, ids);
    for (int i = ids.length() - 1; i >= 0; --i) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, ids[i], AcDb::kForRead) != Acad::eOk) continue;
        selected.push_back({ids[i], entity->linetypeId()});
        entity->close();
    }
    return !selected.empty();
}

// The symbols of `spec` along one entity, a polyline of the system or a host polyline made into one.
void placeAlong(AcDbObjectId id, const std::string& spec) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return;
    CPolyArc3D* poly = PolyArc3D::cast(entity);
    std::unique_ptr<CPolyArc3D> temporary;
    if (!poly) {
        temporary = std::make_unique<PolyArc3D>();
        if (temporary->from(entity, 4) == Acad::eOk) poly = temporary.get();
    }
    if (poly) {
        void* pieces[] = {poly};
        placeSymbols(spec.c_str(), nullptr, 1, pieces, entity, workingDatabase(), 1);
    }
    entity->close();
}

} // namespace

int c_ApplyCarto() {
    ACHAR typed[257] = {};
    if (acedGetString(1, L"Nom Fichier Carto", typed, 257) != RTNORM || !typed[0]) return 0;
    char name[257];
    std::string table = wideToStr(name, typed);
    if (table.find('.') == std::string::npos) table += ".carto";
    std::string path = firstMatch(installFolder(), table);
    if (path.empty()) path = firstMatch(localFolder() + "TABLES\\", table);
    if (path.empty()) return 0;

    std::vector<Selected> selected;
    if (!selectPolylines(selected)) return 0;
    std::ifstream file(path, std::ios::binary);
    std::string line;
    CartoLine carto;
    while (std::getline(file, line)) {
        if (!readCartoLine(trimmed(line), carto)) continue;
        AcDbObjectId linetype;
        if (getLinetypeId(carto.linetype.c_str(), linetype, false) != Acad::eOk || linetype.isNull())
            continue;
        if (carto.style.size() <= 5 || carto.style.compare(0, 2, "*I") != 0) continue;
        for (const Selected& s : selected)
            if (s.linetype == linetype) placeAlong(s.id, carto.style.substr(3));
    }
    return 0;
}
