#include "plugin/editor/editor_prompts.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/database/host_variables.h"
#include "geometry/points/vertex.h"
#include "host/db/symbol_tables.h"
#include "host/editor/acut.h"
#include "host/entities/entity.h"
#include "host/input/prompts.h"
#include "services/output/output.h"
#include "services/startup/shared_records.h"

namespace {

constexpr int kArbitraryInput = 128;
constexpr int kMaxTyped = 200;
// The trace value of the general record that frames each point input.
constexpr int kPointInputTrace = 768;
// The trace bit "Infos ZORTA.ARX": the vertex under the cursor before each point input.
constexpr int kPluginInfoTrace = 4;

std::wstring widen(const char* text) {
    std::wstring wide;
    for (const char* c = text ? text : ""; *c; ++c)
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return wide;
}

std::wstring format(const wchar_t* pattern, const std::wstring& label, double value) {
    wchar_t text[512];
    if (label.empty())
        std::swprintf(text, std::size(text), pattern, value);
    else
        std::swprintf(text, std::size(text), pattern, label.c_str(), value);
    return text;
}

bool tracing() {
    return pvg && pvg->pvDeb == kPointInputTrace;
}

int tracedGetPoint(const ads_point base, const wchar_t* prompt, ads_point result) {
    if (tracing()) mprintf("\nBeg getWorldPoint");
    const int rc = acedGetPoint(base, prompt, result);
    if (tracing()) mprintf("\nEnd getWorldPoint:%d", rc);
    return rc;
}

bool fits(double value, double largest) {
    return std::fabs(value) <= largest; // false for NaN too
}

// A number written from `first` to `last` (the whole of it when `whole`): Number when it reads as one that
// fits, Refused when it is written as a number that does not, Text when it is no number.
enum class Typed { Text, Number, Refused };

Typed readNumber(const char* first, const char* last, bool whole, double largest, double& value) {
    if (first != last && *first == '+') ++first;
    double read = 0;
    auto [end, ec] = std::from_chars(first, last, read);
    if (end == first || (whole && end != last)) return Typed::Text;
    if (ec != std::errc() || !fits(read, largest)) return Typed::Refused;
    value = read;
    return Typed::Number;
}

std::string narrowed(const wchar_t* text) {
    std::string narrow;
    for (const wchar_t* c = text; c && *c && narrow.size() < kMaxTyped; ++c)
        narrow.push_back(*c < 128 ? static_cast<char>(*c) : '?');
    return narrow;
}

} // namespace

bool leadingNumber(const wchar_t* text, double largest, double& value) {
    const std::string narrow = narrowed(text);
    const std::size_t start = narrow.find_first_not_of(" \t");
    double read = 0;
    if (start != std::string::npos && readNumber(narrow.data() + start, narrow.data() + narrow.size(), false,
                                                 largest, read) == Typed::Refused)
        return false;
    value = read;
    return true;
}

void refuseNumber() {
    cmdprintf("\nValeur num\xe9rique requise.");
    host::endMessageLine(); // the prompt asked again starts its own line
}

double askZ(double defaultZ, const CPoint3d* base) {
    const std::wstring prompt = format(L" Z du point <%10.4f> ?", L"", defaultZ);
    ads_point at = {base ? base->x : 0, base ? base->y : 0, base ? base->z : 0};
    for (;;) {
        acedInitGet(kArbitraryInput, nullptr);
        ads_point picked;
        const int rc = acedGetPoint(base ? at : nullptr, prompt.c_str(), picked);
        if (rc == RTNORM) return picked[2];
        ACHAR typed[kMaxTyped + 1] = {};
        if (rc != RTKWORD || acedGetInput(typed, kMaxTyped + 1) != RTNORM) return defaultZ;
        double z = 0;
        if (leadingNumber(typed, host::kLargestCoordinate, z)) return z;
        refuseNumber();
    }
}

double askDistance(double defaultValue, const char* label, const char* keywords, char* text,
                   std::size_t textSize, int* status, double largest) {
    const std::wstring name = widen(label);
    auto cancelled = [&] {
        if (status) *status = RTCAN;
        return defaultValue;
    };
    if (status) *status = RTNORM;
    double value = defaultValue;
    int forcedSign = 0;
    auto signed_ = [&](double v) { return forcedSign ? forcedSign * std::fabs(v) : v; };
    for (;;) {
        acedInitGet(kArbitraryInput, keywords ? widen(keywords).c_str() : nullptr);
        const std::wstring prompt = label && *label ? format(L" %ls <%10.4f> ?", name, signed_(value))
                                                    : format(L" Distance <%10.4f> ?", L"", signed_(value));
        ads_point first, second;
        const int rc = tracedGetPoint(nullptr, prompt.c_str(), first);
        if (rc == RTNORM) {
            // Both points in user coordinates: their plan distance is the one the user sees.
            if (tracedGetPoint(first, L" Fin Distance ?", second) != RTNORM) return cancelled();
            const double d = std::hypot(second[0] - first[0], second[1] - first[1]);
            if (fits(d, largest)) return forcedSign ? forcedSign * d : d;
            refuseNumber();
            continue;
        }
        if (rc == RTNONE) return signed_(value);
        if (rc != RTKWORD) return cancelled();
        ACHAR typed[kMaxTyped + 1] = {};
        acedGetInput(typed, kMaxTyped + 1);
        const std::wstring answer(typed);
        if (answer == L"-" || answer == L"+") {
            forcedSign = answer == L"-" ? -1 : 1;
            continue;
        }
        const std::string narrow = narrowed(typed);
        double number = 0;
        const Typed kind = readNumber(narrow.data(), narrow.data() + narrow.size(), true, largest, number);
        if (kind == Typed::Number) return number;
        if (kind == Typed::Refused) {
            refuseNumber();
            continue;
        }
        if (text && textSize) {
            std::size_t n = 0;
            for (; n + 1 < textSize && n < answer.size(); ++n)
                text[n] = static_cast<char>(answer[n]);
            text[n] = 0;
        }
        return signed_(value);
    }
}

void printVertexInfo(const P_Vertex* vertex, int usePrevious) {
    resbuf rb{};
    int active = 0;
    if (!vertex || !pvg || !(pvg->pvDeb & kPluginInfoTrace) || getVar("CMDACTIVE", &rb) != RTNORM ||
        rbToInt(&active, &rb) != RTNORM || active > 3)
        return;
    const P_Vertex* coded = usePrevious > 0 && vertex->pVB ? vertex->pVB : vertex;
    const CPoint3d p = vertex->pt;
    msgprintf("\npv=%p Tefs=%d,%d=%s Ep=%8.4f H=%8.4f 70=%x Z=%.4f", static_cast<const void*>(vertex),
              int(coded->tef1), int(coded->tef2), coded->tefascii(-1), vertex->i40 / 100000.0,
              vertex->i39 / 100000.0, unsigned(std::uint16_t(coded->flags)), p.z);
}

int effectiveColorIndex(const AcDbEntity* entity) {
    if (!entity) return 7;
    const int index = entity->colorIndex();
    if (index != 256) return index;
    AcDbLayerTableRecord* layer = nullptr;
    if (acdbOpenObject(layer, entity->layerId(), AcDb::kForRead) != Acad::eOk) return 7;
    const int layerIndex = layer->color().colorIndex();
    layer->close();
    return layerIndex;
}
