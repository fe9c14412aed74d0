// Reading "INI\Projections.DEF": sections of ellipsoids, projections and EPSG codes, with the MERIDIEN and
// VERSION keys that apply to the projection lines after them.
#include "geometry/points/angle_units.h"
#include "geometry/projections/ctes_proj.h"
#include "geometry/projections/data_files.h"
#include "geometry/projections/number_scanner.h"
#include "geometry/projections/projection_list.h"
#include "platform/base/ascii.h"
#include "services/output/message_boxes.h"
#include "services/output/output.h"
#include "services/str/str.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>
#include <string>

using namespace geometry::projections;

namespace {

constexpr std::size_t kMaxLineLength = 1000;

enum class Section { Other, Ellipsoids, Projections, Epsg };

OncePerProcessBox missingDefinitionFileBox;

bool startsNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && platform::sameNoCase(text.substr(0, prefix.size()), prefix);
}

Section sectionOf(std::string_view header) {
    if (startsNoCase(header, "[ELLIPS")) return Section::Ellipsoids;
    if (startsNoCase(header, "[PROJEC")) return Section::Projections;
    if (startsNoCase(header, "[EPSG")) return Section::Epsg;
    return Section::Other;
}

// Copies at most size - 1 characters and the terminator.
void copyName(char* out, std::size_t size, std::string_view text) {
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(out, text.data(), n);
    out[n] = 0;
}

// The whole of `text` read as one finite number.
std::optional<double> wholeNumber(std::string_view text) {
    NumberScanner scan(text);
    double number = 0;
    if (!scan.real(number) || scan.more() || !std::isfinite(number)) return std::nullopt;
    return number;
}

// The comma-separated numbers of `text` into `numbers`; their count, or -1 when one does not read or
// there are more than `most` (decimal commas split numbers into more fields than the record has).
int readFields(std::string_view text, double* numbers, int most) {
    if (text.empty()) return 0;
    int count = 0;
    for (std::size_t start = 0; start <= text.size(); ++count) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const auto number = wholeNumber(text.substr(start, end - start));
        if (count == most || !number) return -1;
        numbers[count] = *number;
        start = end + 1;
    }
    return count;
}

// "<kind> '<key>' ignoré(e) : <why> (<file>)": a record that cannot serve is never dropped without a word.
void reportRefused(const std::string& path, const char* kind, std::string_view name, const std::string& why) {
    const std::string text = "\n" + std::string(kind) + " '" + std::string(name) + "' ignor\xe9" +
                             (kind[0] == 'P' ? "e" : "") + " : " + why + " (" + path + ")";
    mprintf("%s", text.c_str());
}

// How many numbers a projection type needs after its ellipsoid: the five of the cone, the origin and scale
// of the scaled geographic, the origin of the others.
int neededNumbers(char type) {
    return type == 'L' ? 5 : type == 'G' ? 2 : 1;
}

// Beyond these a scale is no map of the earth but a typing error.
constexpr double kMinScale = 0.5;
constexpr double kMaxScale = 2;

bool plausibleScale(double scale) {
    return scale >= kMinScale && scale <= kMaxScale;
}

// The reason the parameters of a record cannot serve, or null. A cone's scale is taken on its parallel of
// least scale, where sin(phi) = n.
const char* unusableParameters(const CtesProj& record) {
    switch (record.type()) {
    case 'L': {
        const double n = record.p1;
        if (n == 0) return "constante du c\xf4ne nulle";
        if (!(std::fabs(n) < 1)) return "constante du c\xf4ne hors de ]-1, 1[";
        if (record.p4 == 0) return "Ys nul";
        const double phi = std::asin(n);
        const double scale = std::fabs(n * record.p2 * std::exp(-n * record.LatitudeIso(phi))) /
                             (record.ProjNorm(phi) * std::cos(phi));
        return plausibleScale(scale) ? nullptr : "constante C hors limites";
    }
    case 'U':
        return plausibleScale(std::fabs(record.p1)) ? nullptr
                                                    : "facteur d'\xe9"
                                                      "chelle k0 hors limites";
    case 'G':
        return record.p1 != 0 ? nullptr : "facteur nul";
    default:
        return nullptr;
    }
}

struct Reader {
    std::string path;
    Section section = Section::Other;
    double meridian = 0;
    bool degrees = false; // VERSION above 0
    // A MERIDIEN or VERSION whose value did not read: the projections after it would take a wrong angle,
    // so they are refused until that key reads again.
    bool meridianUnread = false;
    bool versionUnread = false;
    CtesProj* last = nullptr;

    void line(std::string& text);
    bool key(std::string_view key, std::string_view value);
    void ellipsoid(std::string_view key, std::string& value);
    void projection(std::string_view key, std::string& value);
    void epsg(std::string_view key, std::string& value);
    void refuseProjection(std::string_view key, const std::string& why) const {
        reportRefused(path, "Projection", key, why);
    }
};

void Reader::line(std::string& text) {
    STR::Espace(text.data());
    text.resize(std::strlen(text.c_str()));
    if (text.empty()) return;
    if (text.front() == '[') {
        section = sectionOf(text);
        return;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) return;
    std::string keyText = text.substr(0, equals);
    STR::Espace(keyText.data());
    keyText.resize(std::strlen(keyText.c_str()));
    std::string value = text.substr(equals + 1);
    if (key(keyText, value)) return;
    // Blanks never count inside a value.
    STR::Espace_tous(value.data());
    value.resize(std::strlen(value.c_str()));
    if (section == Section::Ellipsoids)
        ellipsoid(keyText, value);
    else if (section == Section::Projections)
        projection(keyText, value);
    else if (section == Section::Epsg)
        epsg(keyText, value);
}

// MERIDIEN and VERSION, read in every section.
bool Reader::key(std::string_view keyText, std::string_view value) {
    const auto number = wholeNumber(value);
    if (startsNoCase(keyText, "MERIDIEN")) {
        meridianUnread = !number;
        if (number) meridian = *number * degre_en_radian;
        return true;
    }
    if (startsNoCase(keyText, "VERSION")) {
        versionUnread = !number;
        if (number) degrees = *number > 0;
        return true;
    }
    return false;
}

void Reader::ellipsoid(std::string_view keyText, std::string& value) {
    double numbers[5] = {};
    NumberScanner scan(value);
    const int read = scan.reals(numbers, 5, ',');
    char gridFile[100] = {};
    // A grid name that does not fit rejects the line rather than being cut to another file's name.
    const auto refuse = [&](const std::string& why) {
        reportRefused(path,
                      "Ellipso\xef"
                      "de",
                      keyText, why);
    };
    if (read == 5 && scan.literal(',') && scan.more() && !scan.word(gridFile, sizeof gridFile))
        return refuse("nom de grille de plus de " + std::to_string(sizeof gridFile - 1) + " caract\xe8res");
    if (read < 5) return refuse(std::to_string(read) + " nombres lus sur 5 : " + value);
    const double a = numbers[0];
    const double e = numbers[1];
    // A record is kept only for a usable ellipsoid (e = 0 marks a line without one): the conversions divide
    // by a and take sqrt(1 - e^2).
    if (!(a > 0) || !std::isfinite(a) || !(e > 0 && e < 1) ||
        !std::all_of(numbers + 2, numbers + 5, [](double v) { return std::isfinite(v); }))
        return refuse("a, e ou translation hors limites : " + value);
    Ellipsoide* record = new Ellipsoide();
    copyName(record->name, sizeof record->name, keyText);
    record->a = a;
    record->e = e;
    record->tx = numbers[2];
    record->ty = numbers[3];
    record->tz = numbers[4];
    std::memcpy(record->gridFile, gridFile, sizeof gridFile);
}

void Reader::projection(std::string_view keyText, std::string& value) {
    const std::size_t comma = value.find(',');
    const std::string ellipsoidName = value.substr(0, comma);
    Ellipsoide* const ellipsoid = Ellipsoide::Find(ellipsoidName.c_str());
    if (keyText.empty()) return;
    if (!ellipsoid)
        return refuseProjection(keyText, ellipsoidName.empty() ? "valeur vide"
                                                               : "ellipso\xef"
                                                                 "de inconnu : " +
                                                                     ellipsoidName);
    if (meridianUnread || versionUnread)
        return refuseProjection(keyText, meridianUnread ? "MERIDIEN illisible" : "VERSION illisible");
    CtesProj record;
    copyName(record.name, sizeof record.name, keyText);
    record.name[0] = static_cast<char>(STR::Chr_majuscule[static_cast<unsigned char>(record.name[0])]);
    record.ellipsoid = ellipsoid;
    record.meridian = meridian;
    const std::string_view fields =
        comma == std::string::npos ? std::string_view() : std::string_view(value).substr(comma + 1);
    if (record.type() == 'E') {
        double numbers[3] = {};
        if (readFields(fields, numbers, 3) < 0) {
            return refuseProjection(keyText, "nombres illisibles : " + std::string(fields));
        }
        record.eParameters.set(numbers[0], numbers[1], numbers[2]);
    } else {
        double numbers[5] = {0, 0, 0, 0, 0};
        const int read = readFields(fields, numbers, 5);
        if (read < 0) {
            return refuseProjection(keyText, "nombres illisibles : " + std::string(fields));
        }
        if (read < neededNumbers(record.type()))
            return refuseProjection(keyText, std::to_string(read) + " nombres lus sur " +
                                                 std::to_string(neededNumbers(record.type())));
        if (record.type() == 'U' && numbers[1] == 0) numbers[1] = 0.9996;
        record.p0 = numbers[0] * (degrees ? degre_en_radian : std::numbers::pi / 200);
        record.p1 = numbers[1];
        record.p2 = numbers[2];
        record.p3 = numbers[3];
        record.p4 = numbers[4];
        if (const char* why = unusableParameters(record)) return refuseProjection(keyText, why);
    }
    CtesProj* const kept = new CtesProj(record);
    if (last)
        last->next = kept;
    else
        CtesProj::g_pFirstCtesProj = kept;
    last = kept;
}

void Reader::epsg(std::string_view keyText, std::string& value) {
    int code = 0;
    if (!NumberScanner(value).integer(code)) return;
    const std::string name(keyText);
    if (CtesProj* const projection = findProjection(name.c_str())) projection->epsg = code;
}

void reportMissingFile(const std::string& path) {
    const std::string text = "Fichier :'" + path + "' Non Trouv\xe9";
    mprint(text.c_str(), 0);
    missingDefinitionFileBox.show(text.c_str());
}

} // namespace

CtesProj* CtesProj::InitProjections(int reload) {
    if (g_pFirstCtesProj && reload == 0) return g_pFirstCtesProj;
    RemoveAll();
    const std::string path = localIniPath("Projections.DEF");
    const DataFile file = openForReading(path);
    if (!file) {
        reportMissingFile(path);
        return nullptr;
    }
    Reader reader;
    reader.path = path;
    std::string text;
    while (readLine(file.get(), text)) {
        if (text.size() > kMaxLineLength || text.size() < 5 || text.front() == '\'') continue;
        reader.line(text);
    }
    g_pProjDefDravlin = findProjection("L-93 :");
    return g_pFirstCtesProj;
}
