#include "geometry/projections/ctes_proj.h"

#include "geometry/projections/projection_list.h"
#include "services/str/str.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

CtesProj* CtesProj::g_pFirstCtesProj = nullptr;
CtesProj* CtesProj::g_pProjDefDravlin = nullptr;

namespace geometry::projections {

namespace {

// The last look-up by coordinates: its name and its answer.
std::string lastGuessName;
CtesProj* lastGuess = nullptr;
bool hasLastGuess = false;

CtesProj* findReadingFirst(const char* name) {
    if (!CtesProj::g_pFirstCtesProj) CtesProj::InitProjections(1);
    return findProjection(name);
}

// The projection name that metric coordinates in France suggest; empty when none.
std::string guessName(std::int32_t x, std::int32_t y) {
    if (x > 1090000) {
        if (x > 2100000 || y < 0 || y > 9500000) return {};
        if ((y / 100000) % 10 > 5) return {};
        return "LZ93-CC" + std::to_string(41 + y / 1000000) + ":";
    }
    if (x > 0) {
        if (y >= 6100001 && y <= 7199999) return "L-93 :";
        if (y >= 1600001 && y <= 2799999) return "L-IIE:";
    }
    return {};
}

CtesProj* guessProjection(std::int32_t x, std::int32_t y);

} // namespace

CtesProj* findProjection(const char* name) {
    if (!name || !*name || *name == '_') return nullptr;
    if (std::strcmp(name, "*") == 0) return CtesProj::g_pFirstCtesProj;
    const std::size_t length = std::max<std::size_t>(4, std::strlen(name));
    for (CtesProj* p = CtesProj::g_pFirstCtesProj; p; p = p->next)
        if (std::strncmp(p->name, name, std::min(length, sizeof p->name)) == 0) return p;
    return nullptr;
}

void forgetCoordinateLookup() {
    lastGuessName.clear();
    lastGuess = nullptr;
    hasLastGuess = false;
}

namespace {

CtesProj* guessProjection(std::int32_t x, std::int32_t y) {
    const std::string name = guessName(x, y);
    // Remembered answers hold only while the list they come from stands (a missing file is read again).
    if (hasLastGuess && name == lastGuessName && CtesProj::g_pFirstCtesProj) return lastGuess;
    CtesProj* found = name.empty() ? nullptr : findReadingFirst(name.c_str());
    lastGuessName = name;
    lastGuess = found;
    hasLastGuess = true;
    return found;
}

} // namespace

} // namespace geometry::projections

using namespace geometry::projections;

CtesProj::CtesProj() {
    std::memset(static_cast<void*>(this), 0, sizeof *this);
}

void CtesProj::RemoveAll() {
    while (g_pFirstCtesProj) {
        CtesProj* const record = g_pFirstCtesProj;
        g_pFirstCtesProj = record->next;
        delete record;
    }
    g_pProjDefDravlin = nullptr;
    forgetCoordinateLookup();
    Ellipsoide::RemoveAll();
}

char CtesProj::type() const {
    return static_cast<char>(STR::Chr_majuscule[static_cast<unsigned char>(name[0])]);
}

CtesProj* CtesProj::GetProjection(const char* wanted) {
    if (!wanted || !*wanted || *wanted == '_') return nullptr;
    return findReadingFirst(wanted);
}

CtesProj* CtesProj::GetProjection(const char* wanted, const CPoint3d& point) {
    if (wanted && std::strncmp(wanted, "_AUT", 4) != 0) return GetProjection(wanted);
    // Coordinates that do not fit an integer guess nothing.
    if (!(std::fabs(point.x) < 2e9) || !(std::fabs(point.y) < 2e9)) return nullptr;
    return GetProjection(static_cast<std::int32_t>(point.x), static_cast<std::int32_t>(point.y));
}

CtesProj* CtesProj::GetProjection(std::int32_t x, std::int32_t y) {
    return guessProjection(x, y);
}

CtesProj* CtesProj::GetProjFromEpsg(int code) {
    if (code <= 0) return nullptr;
    if (code == 900913) code = 3857; // the unofficial code of Web Mercator
    if (!g_pFirstCtesProj) InitProjections(1);
    for (CtesProj* p = g_pFirstCtesProj; p; p = p->next)
        if (p->epsg == code) return p;
    return nullptr;
}

const char* CtesProj::GetShortName(int withoutColon) const {
    static char shortName[100];
    const char* const colon = static_cast<const char*>(std::memchr(name, ':', strnlen(name, sizeof name)));
    std::size_t length =
        colon ? static_cast<std::size_t>(colon - name) + (withoutColon ? 0 : 1) : strnlen(name, sizeof name);
    length = std::min(length, sizeof shortName - 1);
    std::memcpy(shortName, name, length);
    shortName[length] = 0;
    return STR::Espace_reduit(shortName);
}
